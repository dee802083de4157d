// The D-Bus tray as a host sees it: the menu's marks after every change of the owner's items, the
// opening of the menu, each host's mouse requests, the pictures' byte order, and the work area
// the panels leave where no window manager publishes one.
#include <gtest/gtest.h>

#include "platform/qt/qt_dbus_menu.h"
#include "platform/qt/qt_host_clicks.h"
#include "platform/qt/qt_sni_item.h"
#include "platform/qt/qt_work_area.h"
#include "platform/qt/tests/qt_test_support.h"

namespace sysvane::qt {
namespace {

using testing::RunEvents;

struct OwnersMenu {
  forms::MenuItem splash{"mnuSplash", "Show Splash Screen?", true}, line{"Separator", "-"},
      options{"mnuOptions", "Options", true}, display{"mnuDisplay", "Monitor", true};
  forms::MenuList list{"MenuTray", {&splash, &line, &options, &display}};
};

// The menu as a host that reads the whole layout draws it.
std::string Shown(const DBusMenu& menu) {
  std::string shown;
  for (const DBusMenuLayoutItem& item : menu.Layout(0, -1, {}).children) {
    const QVariantMap& p = item.properties;
    shown += p.value("type") == "separator" ? "-" : p.value("label").toString().toStdString();
    if (p.value("toggle-type") == "checkmark") shown += p.value("toggle-state") == 1 ? " [x]" : " [ ]";
    if (p.contains("enabled") && !p.value("enabled").toBool()) shown += " (off)";
    if (!p.value("visible").toBool()) shown += " (hidden)";
    shown += "|";
  }
  return shown;
}

struct DBusMenuTest : ::testing::Test {
  OwnersMenu owner;
  DBusMenu menu{owner.list};
};

TEST_F(DBusMenuTest, EveryChangeReachesTheHostWithEveryItemStillAToggle) {
  std::string updated, removed;  // "4 " for each item sent, "4:toggle-type " for each property lost
  QObject::connect(&menu, &DBusMenu::ItemsPropertiesUpdated,
                   [&](const DBusMenuItemList& items, const DBusMenuItemKeysList& lost) {
                     for (const DBusMenuItem& item : items) updated += std::to_string(item.id) + " ";
                     for (const DBusMenuItemKeys& keys : lost)
                       removed +=
                           std::to_string(keys.id) + ":" + keys.properties.join(",").toStdString() + " ";
                   });
  // What happens; then the items sent, what they lost, and the menu the host now draws. The three
  // items that can be checked stay toggles, checked or not, so that every host draws their box.
  const std::pair<std::function<void()>, std::string> rows[] = {
      {[&] { owner.display.SetChecked(true); },  // the Monitor window opens
       "4 / / Show Splash Screen? [ ]|-|Options [ ]|Monitor [x]|"},
      {[&] { owner.display.SetChecked(false); },  // and closes
       "4 / / Show Splash Screen? [ ]|-|Options [ ]|Monitor [ ]|"},
      {[&] { owner.options.SetChecked(true), owner.display.SetEnabled(false); },  // Options, nothing selected
       "3 4 / / Show Splash Screen? [ ]|-|Options [x]|Monitor [ ] (off)|"},
      {[&] { owner.splash.SetChecked(true), owner.splash.SetChecked(false); },  // undone in the same handler
       "/ / Show Splash Screen? [ ]|-|Options [x]|Monitor [ ] (off)|"},
  };
  for (const auto& [change, expected] : rows) {
    SCOPED_TRACE(expected);
    updated.clear();
    removed.clear();
    change();
    RunEvents(1000, [&] { return !updated.empty(); });
    EXPECT_EQ(updated + "/ " + removed + "/ " + Shown(menu), expected);
  }
}

TEST_F(DBusMenuTest, TheOwnerHearsOfTheOpeningOnceAndCommandsRunAfterTheHostsCall) {
  int opened = 0, clicked = 0;
  menu.Opening = [&] {
    ++opened;
    owner.display.SetChecked(true);  // what the owner does then is in the menu the host reads
  };
  owner.display.Click = [&] { ++clicked; };
  EXPECT_TRUE(menu.AboutToShow(0)) << "the host must read the menu again";
  EXPECT_EQ(Shown(menu), "Show Splash Screen? [ ]|-|Options [ ]|Monitor [x]|");
  menu.Event(0, "opened");
  EXPECT_EQ(opened, 1) << "AboutToShow and \"opened\" are one opening";
  EXPECT_TRUE(menu.MayBeOpen());
  menu.Event(0, "closed");
  EXPECT_FALSE(menu.MayBeOpen());
  EXPECT_FALSE(menu.AboutToShow(0)) << "nothing changed this time";
  EXPECT_EQ(opened, 2);
  menu.Event(4, "clicked");
  EXPECT_FALSE(menu.MayBeOpen()) << "a click closes the menu";
  EXPECT_EQ(clicked, 0) << "not inside the host's call";
  RunEvents(1000, [&] { return clicked > 0; });
  EXPECT_EQ(clicked, 1);
}

TEST(HostClicksTest, APlaceWithinTheIconIsNotTakenForTheIconsPlace) {
  const QRect screen(0, 0, 1280, 800), belowTopBar(0, 31, 1280, 769);
  EXPECT_EQ(IconPlaceFromHost({1270, 15}, screen, screen), QRect(1270, 15, 1, 1)) << "a place on screen";
  EXPECT_EQ(IconPlaceFromHost({10, 15}, screen, belowTopBar), std::nullopt) << "the reserved side tells";
  EXPECT_EQ(IconPlaceFromHost({10, 15}, screen, screen), QRect(1279, 15, 1, 1))
      << "an unseen bar's right end";
}

// The host's request, GNOME Shell's host, a second click soon after the first; then the messages.
TEST(HostClicksTest, EachHostsRequestsBecomeTheOwnersMessages) {
  const std::tuple<SniRequest, bool, bool, std::vector<uint32_t>> rows[] = {
      {SniRequest::Activate, false, false, {514}},
      {SniRequest::Activate, false, true, {515}},
      {SniRequest::SecondaryActivate, false, false, {514}},
      {SniRequest::ContextMenu, false, false, {517}},
      {SniRequest::Activate, true, false, {515}},
      {SniRequest::SecondaryActivate, true, false, {514}}};
  for (const auto& [request, gnome, quickSecond, messages] : rows)
    EXPECT_EQ(MessagesForRequest(request, gnome, quickSecond), messages)
        << int(request) << gnome << quickSecond;
}

TEST(SniItemTest, PicturesAreArgbInNetworkOrderAndClickPlacesAreKeptWhenUsable) {
  QImage image(2, 1, QImage::Format_ARGB32);
  image.setPixel(0, 0, qRgba(0x11, 0x22, 0x33, 0x80));
  image.setPixel(1, 0, qRgba(0xff, 0x00, 0x00, 0xff));
  const SniPixmap pixmap = SniItem::ToPixmap(image);
  EXPECT_EQ(pixmap.width, 2);
  EXPECT_EQ(pixmap.bytes.toHex().toStdString(), "80112233ffff0000");

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
      {screen, {{.bottom = 27, .bottomEnd = 1279}}, QRect(0, 0, 1280, 773)},  // a bottom panel
      {screen,                                                                // a top bar and a left dock
       {{.top = 44, .topEnd = whole}, {.left = 48, .leftStart = 100, .leftEnd = 600}},
       QRect(48, 44, 1232, 756)},
      {right, {{.right = 30, .rightEnd = 799}}, QRect(1280, 0, 1250, 800)},  // a right panel on the second
      {screen, {{.top = 900, .topEnd = whole}}, screen},  // a reservation leaving nothing is not believed
  };
  for (const auto& [on, struts, area] : rows)
    EXPECT_EQ(AreaLeftByStruts(on, root, struts), area) << struts.size() << " struts on " << on.x();
}

}  // namespace
}  // namespace sysvane::qt
