#include "platform/ui/message_map.h"

namespace ui {

MessageMap& MessageMap::OnCommand(int controlId, int code, CommandHandler handler) {
  commands_.push_back({controlId, code, std::move(handler)});
  return *this;
}

MessageMap& MessageMap::OnNotify(int controlId, int code, NotifyHandler handler) {
  notifies_.push_back({controlId, code, std::move(handler)});
  return *this;
}

MessageMap& MessageMap::OnListView(int controlId, int code, ListViewHandler handler) {
  return OnNotify(controlId, code,
                  [handler = std::move(handler)](const NotifyHeader& notification) {
                    return handler(static_cast<const ListViewNotification&>(notification));
                  });
}

MessageMap& MessageMap::OnMessage(Message message, MessageHandler handler) {
  messages_.push_back({message, std::move(handler)});
  return *this;
}

bool MessageMap::RouteCommand(int controlId, int code) const {
  for (const CommandEntry& entry : commands_) {
    if (entry.controlId == controlId && entry.code == code) {
      entry.handler();
      return true;
    }
  }
  return base_ ? base_->RouteCommand(controlId, code) : false;
}

std::optional<LResult> MessageMap::RouteNotify(const NotifyHeader& notification) const {
  for (const NotifyEntry& entry : notifies_) {
    if (entry.controlId == notification.controlId && entry.code == notification.code) {
      return entry.handler(notification);
    }
  }
  return base_ ? base_->RouteNotify(notification) : std::nullopt;
}

std::optional<LResult> MessageMap::RouteMessage(Message message, WParam wParam,
                                                LParam lParam) const {
  for (const MessageEntry& entry : messages_) {
    if (entry.message == message) return entry.handler(wParam, lParam);
  }
  return base_ ? base_->RouteMessage(message, wParam, lParam) : std::nullopt;
}

}  // namespace ui
