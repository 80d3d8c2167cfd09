#pragma once
// Message boxes: one service for the whole process, whose front end the process chooses
// (headless for tests and automation, the dialog framework or Qt for real windows).
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/os/os.h"

namespace os {

enum class MessageBoxButtons { Ok, YesNo };
enum class MessageBoxIcon { None, Information, Warning, Error, Question };
enum class MessageBoxAnswer { Ok, Yes, No, Cancel };

struct MessageBoxRequest {
  WindowHandle owner = nullptr;
  std::string text;  // UTF-8
  std::string caption;
  MessageBoxButtons buttons = MessageBoxButtons::Ok;
  MessageBoxIcon icon = MessageBoxIcon::None;
};

class MessageBoxFrontEnd {
 public:
  virtual ~MessageBoxFrontEnd() = default;
  // Shows the box and returns when the user has closed it.
  virtual MessageBoxAnswer Show(const MessageBoxRequest& request) = 0;
};

// Shows a box through the process's front end (a headless one with an empty script until a
// front end is chosen).
MessageBoxAnswer ShowMessageBox(const MessageBoxRequest& request);

// Chooses the front end; returns the one it replaces.
std::shared_ptr<MessageBoxFrontEnd> SetMessageBoxFrontEnd(
    std::shared_ptr<MessageBoxFrontEnd> frontEnd);

// Records every box and answers from a script. A box that nobody scripted fails loudly: it is
// recorded, reported to the failure handler (by default: printed to standard error and the
// process aborted) and answered with Cancel.
class HeadlessMessageBoxes : public MessageBoxFrontEnd {
 public:
  using FailureHandler = std::function<void(const MessageBoxRequest& unscripted)>;

  // Answers the next box with answer.
  HeadlessMessageBoxes& Expect(MessageBoxAnswer answer);
  // Answers every box from now on with answer (after the scripted ones are used up).
  HeadlessMessageBoxes& AnswerAllWith(MessageBoxAnswer answer);
  void SetFailureHandler(FailureHandler handler);

  MessageBoxAnswer Show(const MessageBoxRequest& request) override;

  const std::vector<MessageBoxRequest>& Shown() const { return shown_; }
  std::size_t PendingAnswers() const;
  void Clear();

 private:
  mutable std::mutex mutex_;
  std::vector<MessageBoxRequest> shown_;
  std::vector<MessageBoxAnswer> script_;
  std::size_t next_ = 0;
  std::optional<MessageBoxAnswer> answerAll_;
  FailureHandler failureHandler_;
};

}  // namespace os
