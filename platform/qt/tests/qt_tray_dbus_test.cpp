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

TEST(DBusMenuTest, EveryChangeReachesTheHostWithThePropertiesTheItemLost) {
  OwnersMenu owner;
  DBusMenu menu(owner.list);
  std::vector<int> updated;
  std::string removed;
  QObject::connect(&menu, &DBusMenu::ItemsPropertiesUpdated,
                   [&](const DBusMenuItemList& items, const DBusMenuItemKeysList& lost) {
                     for (const DBusMenuItem& item : items) updated.push_back(item.id);
                     for (const DBusMenuItemKeys& keys : lost)
                       removed += std::to_string(keys.id) + ":" + keys.properties.join(",").toStdString();
                   });
  struct Row {
    const char* what;
    std::function<void()> change;
    std::vector<int> updated;
    std::string removed, shown;
  };
  const Row rows[] = {
      {"the Monitor window opens",
       [&] { owner.display.SetChecked(true); },
       {4},
       "",
       "Show Splash Screen? [ ]|-|Options [ ]|Monitor [x]|"},
      {"and closes: still a toggle, unchecked",
       [&] { owner.display.SetChecked(false); },
       {4},
       "",
       "Show Splash Screen? [ ]|-|Options [ ]|Monitor [ ]|"},
      {"the Options dialog opens, nothing selected",
       [&] {
         owner.options.SetChecked(true);
         owner.display.SetEnabled(false);
       },
       {3, 4},
       "",
       "Show Splash Screen? [ ]|-|Options [x]|Monitor [ ] (off)|"},
      {"the dialog is cancelled",
       [&] { owner.options.SetChecked(false); },
       {3},
       "",
       "Show Splash Screen? [ ]|-|Options [ ]|Monitor [ ] (off)|"},
      {"a change undone in the same handler",
       [&] {
         owner.splash.SetChecked(true);
         owner.splash.SetChecked(false);
       },
       {},
       "",
       "Show Splash Screen? [ ]|-|Options [ ]|Monitor [ ] (off)|"},
      {"a hidden line",
       [&] { owner.line.SetVisible(false); },
       {2},
       "",
       "Show Splash Screen? [ ]|- (hidden)|Options [ ]|Monitor [ ] (off)|"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    updated.clear();
    removed.clear();
    row.change();
    RunEvents(1000, [&] { return !updated.empty(); });
    EXPECT_EQ(updated, row.updated);
    EXPECT_EQ(removed, row.removed);
    EXPECT_EQ(Shown(menu), row.shown);
  }
}

TEST(DBusMenuTest, TheOwnerHearsOfTheOpeningOnceAndCommandsRunAfterTheHostsCall) {
  OwnersMenu owner;
  DBusMenu menu(owner.list);
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

TEST(HostClicksTest, EachHostsRequestsBecomeTheOwnersMessages) {
  struct Row {
    SniRequest request;
    bool gnome, quickSecond;
    std::vector<uint32_t> messages;
  };
  const Row rows[] = {
      {SniRequest::Activate, false, false, {514}},
      {SniRequest::Activate, false, true, {515}},
      {SniRequest::SecondaryActivate, false, false, {514}},
      {SniRequest::ContextMenu, false, false, {517}},
      {SniRequest::Activate, true, false, {515}},
      {SniRequest::SecondaryActivate, true, false, {514}},
  };
  for (const Row& row : rows)
    EXPECT_EQ(MessagesForRequest(row.request, row.gnome, row.quickSecond), row.messages)
        << int(row.request) << " gnome " << row.gnome << " quick " << row.quickSecond;
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
  struct Row {
    const char* what;
    QRect screen;
    std::vector<Strut> struts;
    QRect area;
  };
  const Row rows[] = {
      {"a bottom panel across the first screen",
       screen,
       {{.bottom = 27, .bottomEnd = 1279}},
       QRect(0, 0, 1280, 773)},
      {"it does not touch the second screen", right, {{.bottom = 27, .bottomEnd = 1279}}, right},
      {"a top bar and a left dock",
       screen,
       {{.top = 44, .topEnd = whole}, {.left = 48, .leftStart = 100, .leftEnd = 600}},
       QRect(48, 44, 1232, 756)},
      {"a right panel on the second screen",
       right,
       {{.right = 30, .rightEnd = 799}},
       QRect(1280, 0, 1250, 800)},
      {"a reservation that leaves nothing is not believed", screen, {{.top = 900, .topEnd = whole}}, screen},
  };
  for (const Row& row : rows) EXPECT_EQ(AreaLeftByStruts(row.screen, root, row.struts), row.area) << row.what;
}

}  // namespace
}  // namespace sysvane::qt
