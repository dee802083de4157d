// The D-Bus tray's parts as a host sees them: what a host is sent after every change of the owner's
// menu items, the layout and properties it asks for, the opening of the menu, each host's mouse
// requests and click places, the wire types, and the work area the panels leave where no window
// manager publishes one.
#include <gtest/gtest.h>

#include <utility>

#include "platform/qt/qt_dbus_menu.h"
#include "platform/qt/qt_host_clicks.h"
#include "platform/qt/qt_sni_item.h"
#include "platform/qt/qt_work_area.h"
#include "platform/qt/tests/qt_test_support.h"

namespace sysvane::qt {
namespace {

using testing::RunEvents;

struct OwnersMenu {
  forms::MenuItem splash{"mnuSplash", "Show Splash_Screen?", true}, line{"Separator", "-"},
      display{"mnuDisplay", "Monitor", true}, about{"mnuAbout", "&About && More"};
  forms::MenuList list{"MenuTray", {&splash, &line, &display, &about}};
};

// "id{name=value,...}", followed by the children's, as the layout goes to a host.
std::string Written(const DBusMenuLayoutItem& item) {
  QStringList properties;
  for (const QString& key : item.properties.keys()) properties << key + "=" + item.properties[key].toString();
  std::string written = std::to_string(item.id) + "{" + properties.join(",").toStdString() + "}";
  for (const DBusMenuLayoutItem& child : item.children) (written += " ") += Written(child);
  return written;
}

struct DBusMenuTest : ::testing::Test {
  OwnersMenu owner;
  DBusMenu menu{owner.list};
};

TEST_F(DBusMenuTest, EveryChangeReachesTheHostAsTheItemsWholePropertiesAndThoseItLost) {
  std::string sent;
  QObject::connect(&menu, &DBusMenu::ItemsPropertiesUpdated,
                   [&](const DBusMenuItemList& items, const DBusMenuItemKeysList& lost) {
                     for (const auto& i : items) (sent += Written({i.id, i.properties, {}})) += " ";
                     for (const DBusMenuItemKeys& keys : lost)
                       sent += std::to_string(keys.id) + " lost " + keys.properties.join(",").toStdString();
                   });
  // What happens; what the host is sent. An item that can be checked stays a toggle, checked or
  // not, so that every host draws its box; another is a toggle while it is checked.
  const std::pair<std::function<void()>, std::string> rows[] = {
      {[&] {  // the Monitor window opens and nothing is selected; About is checked, the splash hidden
         owner.display.SetChecked(true);
         owner.display.SetEnabled(false);
         owner.about.SetChecked(true);
         owner.splash.SetVisible(false);
       },
       "1{enabled=true,label=Show Splash__Screen?,toggle-state=0,toggle-type=checkmark,visible=false} "
       "3{enabled=false,label=Monitor,toggle-state=1,toggle-type=checkmark,visible=true} "
       "4{enabled=true,label=_About & More,toggle-state=1,toggle-type=checkmark,visible=true} "},
      {[&] { owner.about.SetChecked(false); },
       "4{enabled=true,label=_About & More,visible=true} 4 lost toggle-type,toggle-state"},
  };
  for (const auto& [change, expected] : rows) {
    change();
    RunEvents(1000, [&] { return !sent.empty(); });
    EXPECT_EQ(std::exchange(sent, ""), expected);
  }
}

TEST_F(DBusMenuTest, EachOpeningIsHeardOnceAndAHostGetsWhatItAsksFor) {
  // The host opens the menu: the owner hears of it once, first.
  int opened = 0, clicked = 0;
  menu.Opening = [&] { ++opened, owner.display.SetChecked(true); };  // that check is in what the host reads
  owner.about.Click = [&] { ++clicked; };
  EXPECT_TRUE(menu.AboutToShow(0)) << "the host must read the menu again";
  EXPECT_EQ(Written(menu.Layout(3, 0, {"toggle-state"})), "3{toggle-state=1}");
  menu.Event(0, "opened");
  EXPECT_EQ(opened, 1) << "AboutToShow and \"opened\" are one opening";
  EXPECT_TRUE(menu.MayBeOpen());
  menu.Event(0, "closed");
  EXPECT_FALSE(menu.MayBeOpen());
  EXPECT_FALSE(menu.AboutToShow(0)) << "nothing changed this time";
  EXPECT_EQ(opened, 2);
  menu.Event(4, "clicked");
  EXPECT_EQ(std::pair(menu.MayBeOpen(), clicked), std::pair(false, 0))
      << "a click closes the menu, and its command runs once the host's call has returned";
  RunEvents(1000, [&] { return clicked > 0; });
  EXPECT_EQ(clicked, 1);
  // The parent, the depth and the property names asked for (none, or only empty ones: all); the
  // layout that goes back. Only the menu (0) has children.
  const std::tuple<int, int, QStringList, std::string> rows[] = {
      {0, 0, {}, "0{children-display=submenu}"},
      {0, -1, {"", "label"}, "0{} 1{label=Show Splash__Screen?} 2{} 3{label=Monitor} 4{label=_About & More}"},
      {4, -1, {""}, "4{enabled=true,label=_About & More,visible=true}"}};
  for (const auto& [parent, depth, names, expected] : rows)
    EXPECT_EQ(Written(menu.Layout(parent, depth, names)), expected);
}

// The host's request, GNOME Shell's host, a second click soon after the first; then the messages.
TEST(HostClicksTest, EachHostsRequestsBecomeTheOwnersMessagesAndAPlaceWithinTheIconIsNotTheIconsPlace) {
  using R = SniRequest;
  const std::tuple<R, bool, bool, std::vector<uint32_t>> rows[] = {
      // clang-format off
      {R::Activate, false, false, {514}}, {R::Activate, false, true, {515}},
      {R::Activate, true, false, {515}}, {R::SecondaryActivate, false, false, {514}},
      {R::ContextMenu, false, false, {517}}};
  // clang-format on
  for (const auto& [request, gnome, quickSecond, messages] : rows)
    EXPECT_EQ(MessagesForRequest(request, gnome, quickSecond), messages)
        << int(request) << gnome << quickSecond;
  // The place a host sent, the work area; the icon's place. A place within an icon's size of the
  // corner is one within the icon.
  const QRect screen(0, 0, 1280, 800), belowTopBar(0, 31, 1280, 769);
  const std::tuple<QPoint, QRect, std::optional<QRect>> places[] = {
      {{1270, 15}, screen, QRect(1270, 15, 1, 1)},  // a place on screen
      {{64, 0}, belowTopBar, QRect(64, 0, 1, 1)},   // beyond the largest icon
      {{10, 64}, screen, QRect(10, 64, 1, 1)},
      {{63, 63}, belowTopBar, std::nullopt},       // the reserved side tells
      {{63, 15}, screen, QRect(1279, 15, 1, 1)}};  // an unseen bar's right end
  for (const auto& [sent, workArea, place] : places)
    EXPECT_EQ(IconPlaceFromHost(sent, screen, workArea), place) << sent.x() << "," << sent.y();
}

TEST(SniItemTest, AHostsClickPlaceIsKeptWhenUsable) {
  SniItem item;
  std::vector<std::optional<QPoint>> places;
  item.Requested = [&](SniRequest, std::optional<QPoint> place) { places.push_back(place); };
  for (QPoint p : {QPoint(1250, 12), QPoint(0, 0), QPoint(-1, 40), QPoint(0, 790)})
    item.Request(SniRequest::Activate, p.x(), p.y());
  EXPECT_EQ(places, (std::vector<std::optional<QPoint>>{QPoint(1250, 12), std::nullopt, std::nullopt,
                                                        QPoint(0, 790)}));
}

TEST(WorkAreaTest, ThePanelsStrutsLeaveTheWorkAreaWhereNoWindowManagerSaysIt) {
  const QRect screen(0, 0, 1280, 800), right(1280, 0, 1280, 800);
  const QSize root(2560, 800);
  const int whole = 1 << 30;
  const std::tuple<QRect, std::vector<Strut>, QRect> rows[] = {
      {screen, {{.bottom = 27, .bottomEnd = 1279}}, QRect(0, 0, 1280, 773)},    // a bottom panel
      {right, {{.bottom = 27, .bottomEnd = 1279}}, right},                      // on the first screen only
      {right, {{.bottom = 27, .bottomEnd = 1280}}, QRect(1280, 0, 1280, 773)},  // one pixel on the second
      {screen,                                                                  // a top bar and a left dock
       {{.top = 44, .topEnd = whole}, {.left = 48, .leftStart = 100, .leftEnd = 600}},
       QRect(48, 44, 1232, 756)},
      {right, {{.right = 30, .rightEnd = 799}}, QRect(1280, 0, 1250, 800)},  // a right panel on the second
      {screen, {{.top = 800, .topEnd = whole}}, screen},  // a reservation leaving nothing is not believed
  };
  for (const auto& [on, struts, area] : rows)
    EXPECT_EQ(AreaLeftByStruts(on, root, struts), area) << struts.size() << " struts on " << on.x();
}

}  // namespace
}  // namespace sysvane::qt
