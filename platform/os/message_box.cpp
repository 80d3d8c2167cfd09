#include "platform/os/message_box.h"

#include <cstdio>
#include <cstdlib>

namespace os {

namespace {

std::mutex g_frontEndMutex;

std::shared_ptr<MessageBoxFrontEnd>& FrontEnd() {
  static std::shared_ptr<MessageBoxFrontEnd> frontEnd = std::make_shared<HeadlessMessageBoxes>();
  return frontEnd;
}

const char* ButtonsName(MessageBoxButtons buttons) {
  return buttons == MessageBoxButtons::YesNo ? "Yes/No" : "OK";
}

}  // namespace

MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request) {
  std::shared_ptr<MessageBoxFrontEnd> frontEnd;
  {
    std::lock_guard lock(g_frontEndMutex);
    frontEnd = FrontEnd();
  }
  return frontEnd->Show(request);
}

std::shared_ptr<MessageBoxFrontEnd> SetMessageBoxFrontEnd(
    std::shared_ptr<MessageBoxFrontEnd> frontEnd) {
  std::lock_guard lock(g_frontEndMutex);
  if (!frontEnd) frontEnd = std::make_shared<HeadlessMessageBoxes>();
  std::swap(FrontEnd(), frontEnd);
  return frontEnd;
}

HeadlessMessageBoxes& HeadlessMessageBoxes::Expect(MessageBoxAnswer answer) {
  std::lock_guard lock(mutex_);
  script_.push_back(answer);
  return *this;
}

HeadlessMessageBoxes& HeadlessMessageBoxes::AnswerAllWith(MessageBoxAnswer answer) {
  std::lock_guard lock(mutex_);
  answerAll_ = answer;
  return *this;
}

void HeadlessMessageBoxes::SetFailureHandler(FailureHandler handler) {
  std::lock_guard lock(mutex_);
  failureHandler_ = std::move(handler);
}

MessageBoxAnswer HeadlessMessageBoxes::Show(const MessageBoxRequest& request) {
  FailureHandler handler;
  {
    std::lock_guard lock(mutex_);
    shown_.push_back(request);
    if (next_ < script_.size()) return script_[next_++];
    if (answerAll_) return *answerAll_;
    handler = failureHandler_;
  }
  if (handler) {
    handler(request);
    return MessageBoxAnswer::Cancel;
  }
  std::fprintf(
      stderr,
      "unscripted message box (%s)\n  caption: %s\n  text: %s\nnobody answers it; aborting\n",
      ButtonsName(request.buttons), request.caption.c_str(), request.text.c_str());
  std::abort();
}

std::size_t HeadlessMessageBoxes::PendingAnswers() const {
  std::lock_guard lock(mutex_);
  return script_.size() - next_;
}

void HeadlessMessageBoxes::Clear() {
  std::lock_guard lock(mutex_);
  shown_.clear();
  script_.clear();
  next_ = 0;
  answerAll_.reset();
}

}  // namespace os
