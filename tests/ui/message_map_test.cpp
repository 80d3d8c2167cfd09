#include "platform/ui/message_map.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(MessageMap, RoutesCommandsByIdAndCode) {
  std::string log;
  ui::MessageMap map;
  map.OnClicked(209, [&] { log += "list;"; }).OnCommand(201, ui::kComboSelChange, [&] {
    log += "pick;";
  });
  EXPECT_TRUE(map.RouteCommand(209, ui::kButtonClicked));
  EXPECT_TRUE(map.RouteCommand(201, ui::kComboSelChange));
  EXPECT_FALSE(map.RouteCommand(209, ui::kEditChange));
  EXPECT_FALSE(map.RouteCommand(210, ui::kButtonClicked));
  EXPECT_EQ(log, "list;pick;");
}

TEST(MessageMap, RoutesListViewNotificationsWithTheirRecord) {
  ui::MessageMap map;
  int seenColumn = -1;
  map.OnListView(204, ui::kListViewColumnClick, [&](const ui::ListViewNotification& n) {
    seenColumn = n.subItem;
    return ui::LResult{0};
  });
  ui::ListViewNotification click;
  click.controlId = 204;
  click.code = ui::kListViewColumnClick;
  click.subItem = 5;
  EXPECT_EQ(map.RouteNotify(click), ui::LResult{0});
  EXPECT_EQ(seenColumn, 5);
  click.code = ui::kListViewItemChanged;
  EXPECT_FALSE(map.RouteNotify(click).has_value());
}

TEST(MessageMap, OwnEntriesComeBeforeTheChainedBase) {
  ui::MessageMap base;
  ui::MessageMap derived;
  derived.ChainTo(&base);
  base.OnMessage(ui::Message::SysCommand, [](ui::WParam, ui::LParam) { return ui::LResult{1}; });
  base.OnMessage(ui::Message::QueryDragIcon, [](ui::WParam, ui::LParam) { return ui::LResult{2}; });
  derived.OnMessage(ui::Message::QueryDragIcon,
                    [](ui::WParam, ui::LParam) { return ui::LResult{3}; });
  EXPECT_EQ(derived.RouteMessage(ui::Message::SysCommand, 0, 0), ui::LResult{1});
  EXPECT_EQ(derived.RouteMessage(ui::Message::QueryDragIcon, 0, 0), ui::LResult{3});
  EXPECT_FALSE(derived.RouteMessage(ui::Message::SetIcon, 0, 0).has_value());
  bool baseClicked = false;
  base.OnClicked(1, [&] { baseClicked = true; });
  EXPECT_TRUE(derived.RouteCommand(1, ui::kButtonClicked));
  EXPECT_TRUE(baseClicked);
}

}  // namespace
