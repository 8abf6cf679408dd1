// The main dialog driven with keys and clicks on the offscreen platform:
// template, look-up, units, forecast, exit paths, save location, mnemonics.
#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/window/qt/window_test_access.h"
#include "tests/ui/dialog_harness.h"
#include "ui/resource.h"

namespace {

struct SeenBox {
  QString title, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Answers every message box that comes up with OK, noting what it showed.
class BoxAnswerer {
 public:
  BoxAnswerer() {
    timer_.setInterval(10);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      seen.push_back({box->windowTitle(), box->text(), box->icon()});
      box->button(QMessageBox::Ok)->click();
    });
    timer_.start();
  }
  std::vector<SeenBox> seen;

 private:
  QTimer timer_;
};

const char kPineHollowPage[] =
    "http://forecast.weather.gov/MapClick.php?w0=t&w1=td&w2=wc&w3=sfcwind&w4=sky&w5=pop&w6=rh&"
    "w7=rain&w8=thunder&w9=snow&w10=fzg&w11=sleet&AheadHour=0&Submit=Submit&FcstType=graphical&"
    "textField1=37.9495135&textField2=-120.7950794&site=all&unit=0&dd=&bw=";

}  // namespace

class OrlimarDlgTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<DialogHarness> h;

  void Type(int id, const QString& text) { QTest::keyClicks(h->Control(id), text); }
  void Click(int id) { QTest::mouseClick(h->Control(id), Qt::LeftButton); }
  bool HasFocus(int id) { return h->Control(id)->hasFocus(); }
  QCheckBox* Box(int id) { return qobject_cast<QCheckBox*>(h->Control(id)); }
  void LookUpPineHollow() {
    Type(IDC_LOCATION, "Pine Hollow");
    QTest::keyClick(h->Control(IDC_LOCATION), Qt::Key_Return);
  }

 private slots:
  void initTestCase() { QCoreApplication::setApplicationName("Orlimar"); }
  void init() { h = std::make_unique<DialogHarness>(); }
  void cleanup() { h.reset(); }

  void templateAsBuilt_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("cls");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("tabStop");
    QTest::addColumn<QRect>("units");
    struct Row {
      const char* cls;
      const char* caption;
      bool tab;
      int x, y, w, h;
    };
    const Row rows[] = {
        {"QLineEdit", "", true, 57, 18, 313, 12},
        {"QCheckBox", "Save location", true, 220, 36, 65, 11},
        {"QPushButton", "&Look up", true, 320, 34, 50, 14},
        {"QPlainTextEdit", "", false, 57, 55, 313, 28},
        {"QLineEdit", "", false, 57, 110, 64, 12},
        {"QLineEdit", "", false, 57, 128, 64, 12},
        {"QLineEdit", "", false, 57, 152, 64, 12},
        {"QPushButton", "feet", false, 128, 152, 30, 12},
        {"QCheckBox", "&Temperature", true, 215, 100, 57, 11},
        {"QCheckBox", "Wind &chill", true, 227, 111, 57, 11},
        {"QCheckBox", "&Dew point", true, 227, 122, 57, 11},
        {"QCheckBox", "S&ky cover", true, 215, 133, 65, 11},
        {"QCheckBox", "&Precip Potential", true, 215, 144, 70, 11},
        {"QCheckBox", "Relative &humidity", true, 215, 155, 70, 11},
        {"QCheckBox", "Surface &winds", true, 299, 100, 60, 11},
        {"QCheckBox", "&Rain", true, 299, 111, 57, 11},
        {"QCheckBox", "&Thunder", true, 299, 122, 57, 11},
        {"QCheckBox", "&Snow", true, 299, 133, 57, 11},
        {"QCheckBox", "&Freezing rain", true, 299, 144, 60, 11},
        {"QCheckBox", "Sl&eet", true, 299, 155, 60, 11},
        {"QPushButton", "&Forecast", true, 263, 178, 48, 14},
        {"QPushButton", "E&xit", true, 320, 178, 50, 14},
        {"QLabel", "Name,\nAddress,\nLat/Lon or\nZip code", false, 16, 12, 37, 32},
        {"QLabel", "Latitude", false, 16, 112, 31, 11},
        {"QLabel", "Longitude", false, 16, 130, 36, 11},
        {"QLabel", "Elevation", false, 16, 154, 31, 11},
        {"QLabel", "Address", false, 16, 57, 31, 10},
        {"QLineEdit", "", false, 122, 110, 64, 12},
        {"QLineEdit", "", false, 125, 128, 64, 12},
        {"QLabel", "Degrees", false, 64, 98, 50, 8},
        {"QLabel", "Deg:Min:Sec", false, 129, 98, 50, 8},
        {"QGroupBox", "Location", false, 7, 88, 188, 84},
        {"QGroupBox", "Weather conditions to display", false, 205, 88, 165, 84},
    };
    int index = 0;
    for (const Row& r : rows) {
      QTest::addRow("%d %s", index + 1, r.caption[0] ? r.caption : r.cls)
          << index << r.cls << r.caption << r.tab << QRect(r.x, r.y, r.w, r.h);
      ++index;
    }
  }

  void templateAsBuilt() {
    QFETCH(int, index);
    QFETCH(QString, cls);
    QFETCH(QString, caption);
    QFETCH(bool, tabStop);
    QFETCH(QRect, units);
    QVERIFY(h->Start());
    const std::vector<QWidget*> controls = WindowTestAccess::Controls(*h->dialog);
    QCOMPARE(controls.size(), 33u);
    QWidget* w = controls[index];
    QCOMPARE(QString(w->metaObject()->className()), cls);
    QString text;
    if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) text = l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) text = g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w)) text = e->text();
    QCOMPARE(text, caption);
    QCOMPARE(bool(w->focusPolicy() & Qt::TabFocus), tabStop);
    RECT r{units.x(), units.y(), units.x() + units.width(), units.y() + units.height()};
    h->dialog->MapDialogRect(r);
    // A caption wider than its rectangle may widen it to the right, nothing more.
    const QRect built = w->geometry();
    QCOMPARE(built.topLeft(), QPoint(r.left, r.top));
    QCOMPARE(built.height(), r.bottom - r.top);
    QVERIFY(built.width() >= r.right - r.left);
    if (!qobject_cast<QCheckBox*>(w) && !qobject_cast<QLabel*>(w)) {
      QCOMPARE(built.width(), r.right - r.left);
    }
  }

  void dialogFrame() {
    QVERIFY(h->Start());
    QWidget* window = h->Window();
    QCOMPARE(window->windowTitle(), QString("Orlimar - NWS Point Forecast"));
    RECT client{0, 0, 377, 199};
    h->dialog->MapDialogRect(client);
    QCOMPARE(window->size(), QSize(client.right, client.bottom));
    QVERIFY(!window->windowIcon().isNull());
    std::vector<QRect> before;
    for (QWidget* w : WindowTestAccess::Controls(*h->dialog)) before.push_back(w->geometry());
    window->resize(window->width() + 120, window->height() + 80);
    QTRY_COMPARE(window->width(), client.right + 120);
    window->resize(client.right / 2, client.bottom / 2);
    QTRY_COMPARE(window->width(), client.right / 2);
    std::vector<QRect> after;
    for (QWidget* w : WindowTestAccess::Controls(*h->dialog)) after.push_back(w->geometry());
    QCOMPARE(after, before);
  }

  void editsCarryTheirLabels_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("name");
    QTest::newRow("location") << IDC_LOCATION << "Name, Address, Lat/Lon or Zip code";
    QTest::newRow("address") << IDC_ADDRESS << "Address";
    QTest::newRow("latitude") << IDC_LATITUDE << "Latitude";
    QTest::newRow("longitude") << IDC_LONGITUDE << "Longitude";
    QTest::newRow("elevation") << IDC_ELEVATION << "Elevation";
    QTest::newRow("latitude dms") << IDC_LATITUDE_DMS << "Latitude Deg:Min:Sec";
    QTest::newRow("longitude dms") << IDC_LONGITUDE_DMS << "Longitude Deg:Min:Sec";
  }

  void editsCarryTheirLabels() {
    QFETCH(int, id);
    QFETCH(QString, name);
    QVERIFY(h->Start());
    QCOMPARE(h->Control(id)->accessibleName(), name);
  }

  void firstStartShowsEveryBoxTickedAndFocusOnLocation() {
    QVERIFY(h->Start());
    for (const WeatherSeries& row : kWeatherSeries) QVERIFY(Box(row.checkBoxId)->isChecked());
    QVERIFY(!Box(IDC_SAVE_LOCATION)->isChecked());
    QVERIFY(HasFocus(IDC_LOCATION));
    QCOMPARE(h->DefId(), IDOK);
  }

  void storedFlagReachesItsBox_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<bool>("ticked");
    QTest::addColumn<QStringList>("writesOnExit");
    QTest::newRow("off") << 0 << false << QStringList();
    QTest::newRow("on") << 1 << true << QStringList();
    QTest::newRow("other than 0 or 1 shows ticked and is saved as 1")
        << 5 << true << QStringList{"Rain=1"};
  }

  void storedFlagReachesItsBox() {
    QFETCH(int, stored);
    QFETCH(bool, ticked);
    QFETCH(QStringList, writesOnExit);
    h->store.WriteProfileInt("Preferences", "Rain", stored);
    QVERIFY(h->Start());
    QCOMPARE(Box(IDC_RAIN)->isChecked(), ticked);
    QVERIFY(Box(IDC_SNOW)->isChecked());
    Click(IDCANCEL);
    QStringList writes;
    for (const std::string& w : h->Writes()) writes << QString::fromStdString(w);
    QCOMPARE(writes, writesOnExit);
  }

  void enterInLocationLooksUpAndThenPressesForecast() {
    QVERIFY(h->Start());
    LookUpPineHollow();
    QVERIFY(!h->Ended());
    QCOMPARE(h->http.urls().front().rfind(
                 std::string(kGeocodePrefix) + "address=37.9495135,-120.7950794&", 0),
             0u);
    QCOMPARE(h->Text(IDC_ADDRESS), QString("Pine Hollow, CA 95321, USA"));
    QCOMPARE(h->Text(IDC_LATITUDE), QString("37.9495135"));
    QCOMPARE(h->Text(IDC_LONGITUDE), QString("-120.7950794"));
    QCOMPARE(h->Text(IDC_LATITUDE_DMS), QString("37:56:58.2486"));
    QCOMPARE(h->Text(IDC_LONGITUDE_DMS), QString("-120:47:42.2858"));
    QCOMPARE(h->Text(IDC_ELEVATION), QString("5277.683529"));
    QVERIFY(HasFocus(IDC_FORECAST));
    QVERIFY(qobject_cast<QPushButton*>(h->Control(IDC_FORECAST))->isDefault());
    QVERIFY(!qobject_cast<QPushButton*>(h->Control(IDOK))->isDefault());

    // The focused push button is what Enter presses.
    QTest::keyClick(h->Control(IDC_FORECAST), Qt::Key_Return);
    QCOMPARE(h->shell.opened, std::vector<std::string>{kPineHollowPage});
    QVERIFY(HasFocus(IDC_LOCATION));
    QCOMPARE(qobject_cast<QLineEdit*>(h->Control(IDC_LOCATION))->selectedText(),
             QString("Pine Hollow"));
    QVERIFY(qobject_cast<QPushButton*>(h->Control(IDOK))->isDefault());
    QVERIFY(!h->Ended());
  }

  void emptiedFieldsArePaintedBeforeTheWait() {
    QVERIFY(h->Start());
    LookUpPineHollow();
    const int ids[] = {IDC_ADDRESS, IDC_LATITUDE, IDC_LONGITUDE, IDC_ELEVATION};
    struct Counter : QObject {
      int paints = 0;
      bool eventFilter(QObject*, QEvent* e) override {
        paints += e->type() == QEvent::Paint;
        return false;
      }
    };
    Counter counters[4];
    QWidget* painted[4];
    for (int i = 0; i < 4; ++i) {
      QWidget* w = h->Control(ids[i]);
      if (auto* plain = qobject_cast<QPlainTextEdit*>(w)) w = plain->viewport();
      painted[i] = w;
      w->installEventFilter(&counters[i]);
    }
    QStringList atWait;
    h->observed.onOpen = [&] {
      for (int i = 0; i < 4; ++i) {
        atWait << QString("%1:%2:%3").arg(i).arg(h->Text(ids[i])).arg(counters[i].paints > 0);
      }
    };
    // Back in the location edit, Enter is Look up again.
    QTest::mouseClick(h->Control(IDC_LOCATION), Qt::LeftButton);
    QTest::keyClick(h->Control(IDC_LOCATION), Qt::Key_Return);
    QCOMPARE(atWait, QStringList({"0::1", "1::1", "2::1", "3::1"}));
    for (int i = 0; i < 4; ++i) painted[i]->removeEventFilter(&counters[i]);
  }

  void notFoundAfterFound_data() {
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("address");
    QTest::newRow("zero results") << "ZERO_RESULTS"
                                  << ""
                                  << "";
    QTest::newRow("refused key") << "REQUEST_DENIED"
                                 << "The provided API key is invalid."
                                 << "REQUEST_DENIED: The provided API key is invalid.";
  }

  void notFoundAfterFound() {
    QFETCH(QString, status);
    QFETCH(QString, message);
    QFETCH(QString, address);
    QVERIFY(h->Start());
    LookUpPineHollow();
    QWidget* focused = QApplication::focusWidget();
    std::vector<std::string> reply = {"<GeocodeResponse>",
                                      " <status>" + status.toStdString() + "</status>"};
    if (!message.isEmpty()) {
      reply.push_back(" <error_message>" + message.toStdString() + "</error_message>");
    }
    reply.push_back("</GeocodeResponse>");
    h->http = FakeHttpTextSource();
    h->http.Serve(kGeocodePrefix, {.lines = reply});
    QTest::keyClick(h->Control(IDOK), Qt::Key_L, Qt::AltModifier);
    QTRY_COMPARE(h->Text(IDC_LATITUDE), QString("Not found"));
    QCOMPARE(h->Text(IDC_ADDRESS), address);
    QCOMPARE(h->Text(IDC_LONGITUDE), QString());
    QCOMPARE(h->Text(IDC_ELEVATION), QString());
    // No degrees of the previous place beside "Not found".
    QCOMPARE(h->Text(IDC_LATITUDE_DMS), QString());
    QCOMPARE(h->Text(IDC_LONGITUDE_DMS), QString());
    QCOMPARE(QApplication::focusWidget(), focused);
  }

  void networkFailureIsReportedAndFieldsStayEmpty() {
    QVERIFY(h->Start());
    LookUpPineHollow();
    h->http.FailSessions(12029);
    BoxAnswerer boxes;
    QTest::keyClick(h->Control(IDC_FORECAST), Qt::Key_Space);
    Click(IDOK);
    QCOMPARE(boxes.seen.size(), 1u);
    QCOMPARE(boxes.seen[0].text, QString("Error number 12029"));
    QCOMPARE(boxes.seen[0].title, QString("Orlimar"));
    QCOMPARE(boxes.seen[0].icon, QMessageBox::Warning);
    for (int id : {IDC_ADDRESS, IDC_LATITUDE, IDC_LONGITUDE, IDC_LATITUDE_DMS, IDC_LONGITUDE_DMS,
                   IDC_ELEVATION}) {
      QCOMPARE(h->Text(id), QString());
    }
    QVERIFY(!h->Ended());
  }

  void invalidArgumentIsReportedByTheFrameworkAndTheDialogGoesOn() {
    h->http = FakeHttpTextSource();
    h->http.Serve(kGeocodePrefix, {.lines = FoundGeocodeReply()});
    h->http.Serve(kElevationPrefix, {.lines = ElevationReply("<elevation>1608.6")});
    QVERIFY(h->Start());
    BoxAnswerer boxes;
    LookUpPineHollow();
    QCOMPARE(boxes.seen.size(), 1u);
    QCOMPARE(boxes.seen[0].text, QString("The parameter is incorrect."));
    QCOMPARE(boxes.seen[0].icon, QMessageBox::Critical);
    QCOMPARE(boxes.seen[0].title, QString("Orlimar"));
    QCOMPARE(h->Text(IDC_LATITUDE), QString("37.9495135"));
    QCOMPARE(h->Text(IDC_ADDRESS), QString("Pine Hollow, CA 95321, USA"));
    QCOMPARE(h->Text(IDC_ELEVATION), QString());
    QTRY_VERIFY(HasFocus(IDC_LOCATION));
    QVERIFY(!h->Ended());
    // And it goes on: Forecast still opens the page for the held coordinates.
    Click(IDC_FORECAST);
    QCOMPARE(h->shell.opened.size(), 1u);
  }

  void unitsButton_data() {
    QTest::addColumn<bool>("lookUpFirst");
    QTest::addColumn<int>("clicks");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<double>("factor");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("focus");
    QTest::newRow("before any look-up") << false << 1 << "meters" << 1.0 << "0.000000" << IDOK;
    QTest::newRow("meters after a look-up")
        << true << 1 << "meters" << 1.0 << "1608.637939" << IDC_FORECAST;
    QTest::newRow("back to feet") << true << 2 << "feet" << 3.2808398950131235 << "5277.683529"
                                  << IDC_FORECAST;
  }

  void unitsButton() {
    QFETCH(bool, lookUpFirst);
    QFETCH(int, clicks);
    QFETCH(QString, caption);
    QFETCH(double, factor);
    QFETCH(QString, shown);
    QFETCH(int, focus);
    QVERIFY(h->Start());
    QCOMPARE(h->Text(IDC_UNITS), QString("feet"));
    QCOMPARE(h->dialog->m_dElevationFactor, 3.2808398950131235);
    if (lookUpFirst) LookUpPineHollow();
    for (int i = 0; i < clicks; ++i) Click(IDC_UNITS);
    QCOMPARE(h->Text(IDC_UNITS), caption);
    QCOMPARE(h->dialog->m_dElevationFactor, factor);
    QCOMPARE(h->Text(IDC_ELEVATION), shown);
    QVERIFY(HasFocus(focus));
    QCOMPARE(h->DefId(), IDOK);
    QVERIFY(!qobject_cast<QPushButton*>(h->Control(IDC_UNITS))->isDefault());
    QVERIFY(qobject_cast<QPushButton*>(h->Control(focus))->isDefault());
  }

  void forecastWithoutCoordinatesLooksUpFirstAndSavesOnce() {
    QVERIFY(h->Start());
    Click(IDC_RAIN);
    Type(IDC_LOCATION, "Pine Hollow");
    Click(IDC_FORECAST);
    QCOMPARE(h->Text(IDC_LATITUDE), QString("37.9495135"));
    QCOMPARE(h->shell.opened.size(), 1u);
    QVERIFY(h->shell.opened[0].find("w6=rh&w7=thunder&") != std::string::npos);
    QCOMPARE(h->Writes(), (std::vector<std::string>{"Rain=0", "LastLocation="}));
    QVERIFY(HasFocus(IDC_LOCATION));
  }

  void forecastUsesHeldCoordinatesAfterTheLocationChanges() {
    QVERIFY(h->Start());
    LookUpPineHollow();
    const std::size_t requests = h->http.urls().size();
    Type(IDC_LOCATION, "elsewhere");
    Click(IDC_FORECAST);
    QCOMPARE(h->http.urls().size(), requests);
    QCOMPARE(h->shell.opened, std::vector<std::string>{kPineHollowPage});
  }

  void forecastForAPlaceNotFoundOpensNothing() {
    h->http = FakeHttpTextSource();
    h->http.Serve(kGeocodePrefix,
                  {.lines = {"<GeocodeResponse>", "<status>ZERO_RESULTS</status>"}});
    QVERIFY(h->Start());
    Type(IDC_LOCATION, "Nowhere at all");
    Click(IDC_FORECAST);
    QCOMPARE(h->Text(IDC_LATITUDE), QString("Not found"));
    QVERIFY(h->shell.opened.empty());
    QVERIFY(HasFocus(IDC_LOCATION));
  }

  void temperatureDisablesItsDependentsWhichStillCount() {
    QVERIFY(h->Start());
    Click(IDC_TEMPERATURE);
    QVERIFY(!h->Control(IDC_DEW_POINT)->isEnabled());
    QVERIFY(!h->Control(IDC_WIND_CHILL)->isEnabled());
    QVERIFY(Box(IDC_DEW_POINT)->isChecked());
    LookUpPineHollow();
    Click(IDC_FORECAST);
    QCOMPARE(h->shell.opened.size(), 1u);
    QVERIFY(h->shell.opened[0].find("?w0=td&w1=wc&w2=sfcwind&") != std::string::npos);
    Click(IDC_TEMPERATURE);
    QVERIFY(h->Control(IDC_DEW_POINT)->isEnabled());
  }

  void everyWayOut_data() {
    QTest::addColumn<QString>("how");
    for (const char* how : {"Exit button", "Escape", "close box", "Alt+F4", "system menu Close"}) {
      QTest::newRow(how) << how;
    }
  }

  void everyWayOut() {
    QFETCH(QString, how);
    QVERIFY(h->Start());
    Click(IDC_SLEET);
    QWidget* focus = h->Control(IDC_SLEET);
    if (how == "Exit button") {
      Click(IDCANCEL);
    } else if (how == "Escape") {
      QTest::keyClick(focus, Qt::Key_Escape);
    } else if (how == "close box") {
      h->Window()->close();
    } else if (how == "Alt+F4") {
      QTest::keyClick(focus, Qt::Key_F4, Qt::AltModifier);
    } else {
      QMenu* menu = WindowTestAccess::SystemMenu(*h->dialog);
      QCOMPARE(menu->actions().front()->text(), QString("&Close\tAlt+F4"));
      menu->actions().front()->trigger();
    }
    QTRY_VERIFY(h->Ended());
    QCOMPARE(WindowTestAccess::Result(*h->dialog), IDCANCEL);
    QCOMPARE(h->Writes(), std::vector<std::string>{"Sleet=0"});
  }

  void systemMenuOpens_data() {
    QTest::addColumn<int>("key");  // 0: the mouse
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("focus");
    QTest::newRow("right-click on the background") << 0 << 0 << IDC_LOCATION;
    QTest::newRow("Alt+Space") << int(Qt::Key_Space) << int(Qt::AltModifier) << IDC_LOCATION;
    QTest::newRow("Menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier) << IDC_LOCATION;
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier) << IDC_LOCATION;
    QTest::newRow("Menu key on a check box")
        << int(Qt::Key_Menu) << int(Qt::NoModifier) << IDC_TEMPERATURE;
  }

  void systemMenuOpens() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, focus);
    QVERIFY(h->Start());
    QMenu* menu = WindowTestAccess::SystemMenu(*h->dialog);
    if (key != 0) {
      QTest::keyClick(h->Control(focus), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    } else {
      // Over the "Latitude" label: statics let the click through to the dialog.
      const QPoint at(20, 115);
      QContextMenuEvent event(QContextMenuEvent::Mouse, at, h->Window()->mapToGlobal(at));
      QApplication::sendEvent(h->Window()->childAt(at) ? h->Window()->childAt(at) : h->Window(),
                              &event);
    }
    QTRY_VERIFY(menu->isVisible());
    QVERIFY(!h->Ended());
    QTest::keyClick(menu, Qt::Key_C);
    QTRY_VERIFY(h->Ended());
  }

  void unitsButtonIsNamedForAssistiveTechnology() {
    QVERIFY(h->Start());
    QAccessibleInterface* units = QAccessible::queryAccessibleInterface(h->Control(IDC_UNITS));
    QVERIFY(units != nullptr);
    QCOMPARE(units->text(QAccessible::Name), QString("Elevation unit: feet"));
    Click(IDC_UNITS);
    QCOMPARE(units->text(QAccessible::Name), QString("Elevation unit: meters"));
    QCOMPARE(h->Text(IDC_UNITS), QString("meters"));
    Click(IDC_UNITS);
    QCOMPARE(units->text(QAccessible::Name), QString("Elevation unit: feet"));
  }

  void resultFieldsAreReportedReadOnly_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<bool>("readOnly");
    QTest::newRow("location") << IDC_LOCATION << false;
    QTest::newRow("address") << IDC_ADDRESS << true;
    QTest::newRow("latitude") << IDC_LATITUDE << true;
    QTest::newRow("longitude") << IDC_LONGITUDE << true;
    QTest::newRow("latitude dms") << IDC_LATITUDE_DMS << true;
    QTest::newRow("longitude dms") << IDC_LONGITUDE_DMS << true;
    QTest::newRow("elevation") << IDC_ELEVATION << true;
  }

  void resultFieldsAreReportedReadOnly() {
    QFETCH(int, id);
    QFETCH(bool, readOnly);
    QVERIFY(h->Start());
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(h->Control(id));
    QVERIFY(field != nullptr);
    QCOMPARE(bool(field->state().readOnly), readOnly);
    QCOMPARE(bool(field->state().editable), !readOnly);
  }

  // A screen reader toggles a box through its action interface, without a click.
  void toggleActionReachesTheDialogAsAClickDoes() {
    QVERIFY(h->Start());
    QAccessibleInterface* temperature =
        QAccessible::queryAccessibleInterface(h->Control(IDC_TEMPERATURE));
    QVERIFY(temperature != nullptr && temperature->actionInterface() != nullptr);
    QVERIFY(temperature->actionInterface()->actionNames().contains(
        QAccessibleActionInterface::toggleAction()));
    temperature->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!Box(IDC_TEMPERATURE)->isChecked());
    QVERIFY(!h->Control(IDC_DEW_POINT)->isEnabled());
    QVERIFY(!h->Control(IDC_WIND_CHILL)->isEnabled());
    temperature->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(Box(IDC_TEMPERATURE)->isChecked());
    QVERIFY(h->Control(IDC_DEW_POINT)->isEnabled());
    QVERIFY(h->Control(IDC_WIND_CHILL)->isEnabled());
    // A click still tells the dialog once: Temperature off and its dependents with it.
    Click(IDC_TEMPERATURE);
    QVERIFY(!h->Control(IDC_DEW_POINT)->isEnabled());
  }

  void toggledSaveLocationCountsAsTheUsersChoice() {
    QVERIFY(h->Start());
    QAccessibleInterface* save =
        QAccessible::queryAccessibleInterface(h->Control(IDC_SAVE_LOCATION));
    save->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(Box(IDC_SAVE_LOCATION)->isChecked());
    // Touched by the user: typing no longer unticks it.
    Type(IDC_LOCATION, "x");
    QVERIFY(Box(IDC_SAVE_LOCATION)->isChecked());
  }

  void storedLocationIsShownTickedUntilTyping() {
    std::strcpy(h->settings.m_szLastLocation, "KRGC");
    QVERIFY(h->Start());
    QCOMPARE(h->Text(IDC_LOCATION), QString("KRGC"));
    QVERIFY(Box(IDC_SAVE_LOCATION)->isChecked());
    QTest::keyClick(h->Control(IDC_LOCATION), Qt::Key_End);
    QTest::keyClick(h->Control(IDC_LOCATION), Qt::Key_X);
    QVERIFY(!Box(IDC_SAVE_LOCATION)->isChecked());
  }

  void onceTouchedSaveLocationFollowsOnlyTheUser() {
    QVERIFY(h->Start());
    Click(IDC_SAVE_LOCATION);
    QVERIFY(Box(IDC_SAVE_LOCATION)->isChecked());
    Type(IDC_LOCATION, "KRGC");
    QVERIFY(Box(IDC_SAVE_LOCATION)->isChecked());
    QTest::keyClick(h->Control(IDC_LOCATION), Qt::Key_Return);
    QCOMPARE(h->Writes(), std::vector<std::string>{"LastLocation=KRGC"});
    // The shortcut, not the typed text, went to the geocoder.
    QVERIFY(h->http.urls().front().find("address=38.52910,-121.69418&") != std::string::npos);
    Click(IDC_SAVE_LOCATION);
    h->store.ClearWrites();
    QTest::keyClick(h->Control(IDC_LOCATION), Qt::Key_Return);
    QCOMPARE(h->Writes(), std::vector<std::string>{"LastLocation="});
  }

  void commandLineRunLooksUpOpensAndCloses() {
    std::strcpy(h->settings.m_szLastLocation, "KRGC");
    h->settings.m_bCommandLineLocation = TRUE;
    LoadPreferences(h->store);
    h->dialog = std::make_unique<COrlimarDlg>(h->observed, h->shell, h->store, h->settings);
    h->dialog->m_strStartLocation = "Pine Hollow";
    QString shownLocation;
    bool saveTicked = true;
    h->observed.onOpen = [&] {
      shownLocation = h->Text(IDC_LOCATION);
      saveTicked = Box(IDC_SAVE_LOCATION)->isChecked();
    };
    QCOMPARE(h->dialog->DoModal(), IDCANCEL);
    QCOMPARE(shownLocation, QString("Pine Hollow"));
    QVERIFY(!saveTicked);
    QCOMPARE(h->shell.opened, std::vector<std::string>{kPineHollowPage});
    QVERIFY(h->Writes().empty());
  }

  void mnemonics() {
    QVERIFY(h->Start());
    // Shared letters move the focus between their owners and press nothing.
    QTest::keyClick(h->Window(), Qt::Key_T, Qt::AltModifier);
    QWidget* first = QApplication::focusWidget();
    QTest::keyClick(h->Window(), Qt::Key_T, Qt::AltModifier);
    QWidget* second = QApplication::focusWidget();
    QVERIFY(first != second);
    QVERIFY(first == h->Control(IDC_TEMPERATURE) || first == h->Control(IDC_THUNDER));
    QVERIFY(second == h->Control(IDC_TEMPERATURE) || second == h->Control(IDC_THUNDER));
    QVERIFY(Box(IDC_TEMPERATURE)->isChecked() && Box(IDC_THUNDER)->isChecked());
    QTest::keyClick(h->Window(), Qt::Key_F, Qt::AltModifier);
    QVERIFY(h->shell.opened.empty());
    // A letter of its own presses the control.
    QTest::keyClick(h->Window(), Qt::Key_K, Qt::AltModifier);
    QTRY_VERIFY(!Box(IDC_SKY_COVER)->isChecked());
    QTest::keyClick(h->Window(), Qt::Key_X, Qt::AltModifier);
    QTRY_VERIFY(h->Ended());
    QCOMPARE(h->Writes(), std::vector<std::string>{"SkyCover=0"});
  }

  void readOnlyResultsCanBeSelectedAndCopied() {
    QVERIFY(h->Start());
    LookUpPineHollow();
    QWidget* latitude = h->Control(IDC_LATITUDE);
    QTest::mouseClick(latitude, Qt::LeftButton);
    QVERIFY(latitude->hasFocus());
    QTest::keyClick(latitude, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(latitude, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString("37.9495135"));
    QTest::keyClick(latitude, Qt::Key_Z);
    QCOMPARE(h->Text(IDC_LATITUDE), QString("37.9495135"));
  }

  void tabSkipsReadOnlyEditsAndTheUnitsButton() {
    QVERIFY(h->Start());
    QStringList order;
    for (int i = 0; i < 17; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      QWidget* w = QApplication::focusWidget();
      order << (qobject_cast<QAbstractButton*>(w) ? qobject_cast<QAbstractButton*>(w)->text()
                                                  : w->metaObject()->className());
    }
    QCOMPARE(order,
             QStringList({"Save location", "&Look up", "&Temperature", "Wind &chill", "&Dew point",
                          "S&ky cover", "&Precip Potential", "Relative &humidity", "Surface &winds",
                          "&Rain", "&Thunder", "&Snow", "&Freezing rain", "Sl&eet", "&Forecast",
                          "E&xit", "QLineEdit"}));
  }
};

QTEST_MAIN(OrlimarDlgTest)
#include "orlimar_dlg_test.moc"
