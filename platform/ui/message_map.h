#pragma once
// Message maps: tables that route a window's commands, control notifications and window
// messages to its handlers. A map can be chained to a base map, which is asked when the map
// itself has no entry.
#include <functional>
#include <optional>
#include <vector>

#include "platform/ui/messages.h"

namespace ui {

class MessageMap {
 public:
  using CommandHandler = std::function<void()>;
  using NotifyHandler = std::function<LResult(const NotifyHeader&)>;
  using ListViewHandler = std::function<LResult(const ListViewNotification&)>;
  using MessageHandler = std::function<LResult(WParam, LParam)>;

  MessageMap& OnCommand(int controlId, int code, CommandHandler handler);
  MessageMap& OnClicked(int controlId, CommandHandler handler) {
    return OnCommand(controlId, kButtonClicked, std::move(handler));
  }
  MessageMap& OnNotify(int controlId, int code, NotifyHandler handler);
  MessageMap& OnListView(int controlId, int code, ListViewHandler handler);
  MessageMap& OnMessage(Message message, MessageHandler handler);
  void ChainTo(const MessageMap* base) { base_ = base; }

  // True when an entry handled the command.
  bool RouteCommand(int controlId, int code) const;
  // The handler's result, or nothing when no entry matches.
  std::optional<LResult> RouteNotify(const NotifyHeader& notification) const;
  std::optional<LResult> RouteMessage(Message message, WParam wParam, LParam lParam) const;

 private:
  struct CommandEntry {
    int controlId;
    int code;
    CommandHandler handler;
  };
  struct NotifyEntry {
    int controlId;
    int code;
    NotifyHandler handler;
  };
  struct MessageEntry {
    Message message;
    MessageHandler handler;
  };
  std::vector<CommandEntry> commands_;
  std::vector<NotifyEntry> notifies_;
  std::vector<MessageEntry> messages_;
  const MessageMap* base_ = nullptr;
};

}  // namespace ui
