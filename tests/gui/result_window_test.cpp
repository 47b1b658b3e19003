// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QTest>
#include <QTimer>

#include <sqlite3.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <sstream>
#include <memory>

#include "fixture_data.h"
#include "cli/command.h"
#include "filter/compiled_filter.h"
#include "filter/filter_evaluator.h"
#include "filter/filter_text.h"
#include "geo/address.h"
#include "geo/map_paint.h"
#include "geo/map_pictures.h"
#include "geo/ranges.h"
#include "geo/tally.h"
#include "geo/ui/frm_map.h"
#include "geo/ui/frm_other.h"
#include "geo/ui/frm_progress.h"
#include "geo/ui/frm_ranges.h"
#include "geo/ui/frm_usa.h"
#include "geo/ui/raster_image.h"
#include "geo/zip_locator.h"
#include "host/clock.h"
#include "host/engine.h"
#include "host/file_write.h"
#include "host/locale.h"
#include "host/ui/messages.h"
#include "host/tallis_schema.h"
#include "testing.h"
#include "widgets/sortable_grid.h"

using vistrel::geo::Analysis;
using vistrel::geo::Raster;
using vistrel::geo::Rgb;
using vistrel::geo::TFrmUSA;
using vistrel::host::ScopedMessageRecorder;

Q_DECLARE_METATYPE(Analysis)

namespace {

constexpr Rgb kYellow{255, 255, 0};
constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGray{128, 128, 128};

// The fixture's contact table with the range of database "Sales", as the
// main window leaves it after a tally, and a result window on it.
class Fixture {
 public:
  Fixture() {
    vistrel::testing::makeFixtureDataDir(dir_.path());
    engine_.setAlias("TALDB", dir_.path());
    engine_.addPassword(vistrel::host::tallisTablePassword(vistrel::host::TablePassword::kContacts));
    if (!contacts_.setIndexName("LastFirst").ok() || !contacts_.open().ok()) qFatal("cannot open the contacts");
  }

  // A window set up as the tally of `kind` sets it up; `values` replace the
  // tally's values when given.
  std::unique_ptr<TFrmUSA> open(Analysis kind, const std::vector<std::string>* values = nullptr) {
    auto tally = vistrel::geo::runTally(contacts_, "Sales", kind);
    if (!tally.ok()) qFatal("tally failed");
    auto window = std::make_unique<TFrmUSA>(contacts_);
    vistrel::geo::AnalysisReport report(kind, "Sales");
    if (values != nullptr) tally->values = *values;
    report.setTally(std::move(tally).value());
    window->setReport(std::move(report));
    return window;
  }

  const std::filesystem::path& dir() const { return dir_.path(); }
  vistrel::host::Table& contacts() { return contacts_; }

 private:
  vistrel::testing::TempDir dir_;
  vistrel::host::Engine engine_;
  vistrel::host::Table contacts_{engine_, "TALDB", "CONTACT.DB"};
};

template <typename T = QWidget>
T* child(const QWidget& w, const char* name) {
  auto* c = w.findChild<T*>(QString::fromLatin1(name));
  if (c == nullptr) qFatal("no child %s", name);
  return c;
}

QString text(const QWidget& w, const char* name) { return child<QLabel>(w, name)->text(); }

// The picture the image control shows, as the user sees it.
Raster shown(const TFrmUSA& w) { return vistrel::geo::fromQImage(child<QLabel>(w, "Image1")->pixmap().toImage()); }

Rgb at(const Raster& r, vistrel::geo::MapPoint p) { return r.pixel(p.x, p.y); }
Rgb seedColour(const Raster& r, const char* code) { return at(r, vistrel::geo::StateSeedPoint(code)); }

QString cells(const TFrmUSA& w, int column) {
  QStringList texts;
  for (int row = 1; row < w.grid()->rowCount(); ++row) texts << w.grid()->cell(column, row);
  return texts.join(',');
}

// Runs `inside` on the next modal window that opens, then closes it.
void onNextModal(std::function<void(QWidget*)> inside) {
  QTimer::singleShot(0, [inside] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr) qFatal("no modal window opened");
    inside(modal);
    modal->close();
  });
}

}  // namespace

namespace QTest {
template <>
char* toString(const Rgb& c) {
  return qstrdup(QStringLiteral("rgb(%1, %2, %3)").arg(c.r).arg(c.g).arg(c.b).toUtf8().constData());
}
}  // namespace QTest

class ResultWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void modesShowMoveAndEnable_data();
  void modesShowMoveAndEnable();
  void countThenPlotPaintsEachStateByShare();
  void rowsOffTheMapOrInLowerCasePaintNothing();
  void hoverNamesTheStateAndItsShare();
  void abortKeepsThePartialCounts();
  void plotWithNothingCountedSaysSo();
  void zipPlotDrawsDotsOnBothMaps();
  void cityPlotRunsTheZipTallyAndDrawsEveryContact();
  void clickShowsTheStatePicture();
  void othersListsTheOthers();
  void rangesRelabelTheLegendWhateverTheResult();
  void saveAsWritesTheMapAsPainted_data();
  void saveAsWritesTheMapAsPainted();
  void aFailedSaveIsReported();
  void saveAsWritesReportsOfWhatTheWindowHolds();
  void printToPdf();
  void windowAndCommandLineGiveTheSameCountsAndShares();
  void escapeLeavesTheWindowAndItsCounts();
  void aFailedCountShowsThatNothingIsCounted();
  void aFilterThatFailsMidCountShowsItsFailure();

 private:
  vistrel::testing::TempDir home_;
};

void ResultWindowTest::initTestCase() {
  // The ranges INI file is the test's own (absent: the default ranges).
  qputenv("VISTREL_HOME", QByteArray::fromStdString(home_.path().string()));
}

void ResultWindowTest::modesShowMoveAndEnable_data() {
  QTest::addColumn<Analysis>("kind");
  QTest::addColumn<QString>("title");
  QTest::addColumn<QString>("heading");
  // Which of legend, no-contact marker, one-contact marker, radio buttons,
  // hover label and Others show.
  QTest::addColumn<QString>("visible");
  QTest::addColumn<bool>("plot");
  QTest::addColumn<bool>("ranges");
  QTest::addColumn<QRect>("map");
  QTest::addColumn<QString>("noContact");
  QTest::newRow("zip") << Analysis::kZipCode << "American Zip Code Analysis" << "Zip Code"
                       << "legend,none,one,radio,state,others" << false << true << QRect(8, 40, 464, 231)
                       << "0 Contacts";
  QTest::newRow("city") << Analysis::kCity << "American City Analysis" << "City" << "none,radio,state" << true
                        << false << QRect(8, 80, 464, 231) << "Contacts Found";
  QTest::newRow("state") << Analysis::kState << "United States Analysis" << "State" << "legend,none,one,state"
                         << false << true << QRect(8, 40, 464, 231) << "0 Contacts";
  QTest::newRow("country") << Analysis::kCountry << "Country Analysis" << "Country" << "" << false << false
                           << QRect(20, 100, 329, 219) << "0 Contacts";
}

void ResultWindowTest::modesShowMoveAndEnable() {
  QFETCH(Analysis, kind);
  QFETCH(QString, title);
  QFETCH(QString, heading);
  QFETCH(QString, visible);
  QFETCH(bool, plot);
  QFETCH(bool, ranges);
  QFETCH(QRect, map);
  QFETCH(QString, noContact);
  Fixture f;
  auto w = f.open(kind);
  w->show();
  QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  QCOMPARE(w->windowTitle(), QStringLiteral("Vistrel Professional"));
  QCOMPARE(text(*w, "LblTitle"), title);
  QCOMPARE(w->grid()->cell(0, 0), heading);
  QCOMPARE(w->grid()->cell(1, 0), QStringLiteral("#"));
  QCOMPARE(w->height(), 453);

  QStringList shown;
  const std::pair<const char*, const char*> controls[] = {
      {"legend", "PnlLegend"}, {"none", "ShpNoContact"}, {"one", "ShpOneContact"},
      {"radio", "RBBigMap"},   {"state", "LblState"},    {"others", "BtnOthers"}};
  for (const auto& [key, name] : controls) {
    if (child(*w, name)->isVisible()) shown << QString::fromLatin1(key);
  }
  QCOMPARE(shown.join(','), visible);
  const QStringList visibleList = visible.split(',');
  QCOMPARE(child(*w, "LblNoContact")->isVisible(), visibleList.contains("none"));
  QCOMPARE(child(*w, "RbSmallMap")->isVisible(), visibleList.contains("radio"));
  QCOMPARE(child(*w, "LblOneContact")->isVisible(), visibleList.contains("one"));
  QVERIFY(!child(*w, "PnlBigMap")->isVisible());
  QCOMPARE(child(*w, "BtnPlot")->isEnabled(), plot);
  QCOMPARE(child(*w, "BtnRanges")->isEnabled(), ranges);
  QCOMPARE(child(*w, "Image1")->geometry(), map);
  QCOMPARE(child(*w, "PnlBigMap")->geometry(), QRect(8, kind == Analysis::kCity ? 80 : 40, 425, 225));
  QCOMPARE(text(*w, "LblNoContact"), noContact);
  QCOMPARE(text(*w, "LblRange3"), QStringLiteral("17 - 32 %"));
  // Both columns fit beside the scroll bar.
  QVERIFY(w->grid()->viewport()->width() >= 122 + 38);
  QCOMPARE(w->grid()->columnWidth(0), 122);
  QCOMPARE(w->grid()->columnWidth(1), 38);
  if (kind == Analysis::kCountry) QCOMPARE(w->smallMap(), vistrel::geo::worldMap());
  if (kind == Analysis::kZipCode) QCOMPARE(child<QPushButton>(*w, "BtnOthers")->text(), QStringLiteral("Others (4)"));
}

void ResultWindowTest::countThenPlotPaintsEachStateByShare() {
  Fixture f;
  auto w = f.open(Analysis::kState);
  QCOMPARE(cells(*w, 0), QStringLiteral("CA,CO,FL,IL,MA,ON,TX"));
  child<QPushButton>(*w, "BtnCount")->click();
  QCOMPARE(cells(*w, 1), QStringLiteral("3,1,1,1,2,2,2"));
  QCOMPARE(text(*w, "LblRecTotal"), QStringLiteral("12 total records"));
  QVERIFY(child(*w, "BtnPlot")->isEnabled());
  QVERIFY(!vistrel::geo::FrmProgress()->isVisible());

  child<QPushButton>(*w, "BtnPlot")->click();
  const Raster map = shown(*w);
  QCOMPARE(map, w->smallMap());
  QCOMPARE(seedColour(map, "CA"), kGray);  // 3 of 12 is 25 %: range 3
  QCOMPARE(seedColour(map, "MA"), kBlue);  // 2 of 12 is 16 %: range 2
  QCOMPARE(seedColour(map, "TX"), kBlue);
  QCOMPARE(seedColour(map, "CO"), kRed);  // one contact
  QCOMPARE(seedColour(map, "FL"), kRed);
  QCOMPARE(seedColour(map, "NV"), kYellow);  // no row
  QCOMPARE(seedColour(map, "NY"), kYellow);

  // A second Count gives the same counts; Plot again changes nothing.
  child<QPushButton>(*w, "BtnCount")->click();
  QCOMPARE(cells(*w, 1), QStringLiteral("3,1,1,1,2,2,2"));
  child<QPushButton>(*w, "BtnPlot")->click();
  QCOMPARE(shown(*w), map);
}

void ResultWindowTest::rowsOffTheMapOrInLowerCasePaintNothing() {
  Fixture f;
  // ca comes first, so it takes California's contacts; it has no start point.
  const std::vector<std::string> values = {"ca", "AK", "DC", "HI", "PR", "VI"};
  auto w = f.open(Analysis::kState, &values);
  child<QPushButton>(*w, "BtnCount")->click();
  QCOMPARE(cells(*w, 1), QStringLiteral("3,0,0,0,0,0"));
  child<QPushButton>(*w, "BtnPlot")->click();
  QCOMPARE(shown(*w), vistrel::geo::smallUsMap());
}

void ResultWindowTest::hoverNamesTheStateAndItsShare() {
  Fixture f;
  auto w = f.open(Analysis::kState);
  const auto ca = vistrel::geo::StateSeedPoint("CA");
  w->Image1MouseMove(ca.x, ca.y);
  QCOMPARE(text(*w, "LblState"), QStringLiteral("California"));  // nothing counted yet
  QCOMPARE(w->hoverCode(), std::string("CA"));
  child<QPushButton>(*w, "BtnCount")->click();
  w->Image1MouseMove(ca.x, ca.y);
  QCOMPARE(text(*w, "LblState"), QStringLiteral("California (25%)"));
  const auto nv = vistrel::geo::StateSeedPoint("NV");
  w->Image1MouseMove(nv.x, nv.y);
  QCOMPARE(text(*w, "LblState"), QStringLiteral("Nevada"));  // no row
  w->Image1MouseMove(2, 2);  // the background
  QCOMPARE(text(*w, "LblState"), QString());
  QVERIFY(w->hoverCode().empty());

  // Through real pointer moves over the image control.
  const auto ma = vistrel::geo::StateSeedPoint("MA");
  QMouseEvent move(QEvent::MouseMove, QPointF(ma.x, ma.y), QPointF(ma.x, ma.y), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(child(*w, "Image1"), &move);
  QCOMPARE(text(*w, "LblState"), QStringLiteral("Massachusetts (16.67%)"));

  auto zip = f.open(Analysis::kZipCode);
  child<QPushButton>(*zip, "BtnCount")->click();
  zip->Image1MouseMove(ca.x, ca.y);
  QCOMPARE(text(*zip, "LblState"), QStringLiteral("California"));  // no share outside the State mode

  auto country = f.open(Analysis::kCountry);
  country->Image1MouseMove(ca.x, ca.y);
  QVERIFY(country->hoverCode().empty());
}

void ResultWindowTest::abortKeepsThePartialCounts() {
  Fixture f;
  auto w = f.open(Analysis::kState);
  w->setCountPacing(1, 0);  // let messages run after every contact
  auto* progress = vistrel::geo::FrmProgress();
  QTimer::singleShot(0, progress, [progress] {
    QTest::mouseClick(progress->findChild<QPushButton*>(QStringLiteral("BitBtn1")), Qt::LeftButton);
  });
  child<QPushButton>(*w, "BtnCount")->click();
  // Adams (MA) is the first contact and the only one counted.
  QCOMPARE(cells(*w, 1), QStringLiteral("0,0,0,0,1,0,0"));
  QCOMPARE(w->total(), 1);
  QCOMPARE(text(*w, "LblRecTotal"), QStringLiteral("1 total records (INCOMPLETE)"));
  QVERIFY(child(*w, "BtnPlot")->isEnabled());
  QVERIFY(!progress->isVisible());
  QVERIFY(!w->busy());
  child<QPushButton>(*w, "BtnPlot")->click();
  QCOMPARE(seedColour(w->smallMap(), "MA"), kRed);

  child<QPushButton>(*w, "BtnCount")->click();
  QCOMPARE(text(*w, "LblRecTotal"), QStringLiteral("12 total records"));  // a new Count starts afresh
}

void ResultWindowTest::plotWithNothingCountedSaysSo() {
  Fixture f;
  const std::vector<std::string> values = {"NV"};  // only a contact of another database
  auto w = f.open(Analysis::kState, &values);
  child<QPushButton>(*w, "BtnCount")->click();
  QCOMPARE(text(*w, "LblRecTotal"), QStringLiteral("0 total records"));
  ScopedMessageRecorder messages;
  child<QPushButton>(*w, "BtnPlot")->click();
  QCOMPARE(messages.messages().size(), std::size_t{1});
  QCOMPARE(messages.messages()[0].icon, vistrel::host::MessageIcon::kInformation);
  QCOMPARE(QString::fromStdString(messages.lastText()),
           QStringLiteral("No contacts were counted, so there is nothing to plot."));
  QCOMPARE(w->smallMap(), vistrel::geo::smallUsMap());
  const auto nv = vistrel::geo::StateSeedPoint("NV");
  w->Image1MouseMove(nv.x, nv.y);
  QCOMPARE(text(*w, "LblState"), QStringLiteral("Nevada"));  // no share of nothing
}

void ResultWindowTest::zipPlotDrawsDotsOnBothMaps() {
  Fixture f;
  auto w = f.open(Analysis::kZipCode);
  child<QPushButton>(*w, "BtnCount")->click();
  QCOMPARE(cells(*w, 1), QStringLiteral("2,1,2,1,1,1,1"));  // 9 contacts
  child<QPushButton>(*w, "BtnPlot")->click();
  const auto& locator = vistrel::geo::ZipLocator::builtIn();
  // 02134: 2 of 9 is 22 %, range 3; 33101: one contact.
  QCOMPARE(at(w->smallMap(), *locator.mapPoint("02134", false)), kGray);
  QCOMPARE(at(w->bigMap(), *locator.mapPoint("02134", true)), kGray);
  QCOMPARE(at(w->smallMap(), *locator.mapPoint("33101", false)), kRed);
  QCOMPARE(at(w->bigMap(), *locator.mapPoint("33101", true)), kRed);
  QCOMPARE(shown(*w), w->smallMap());

  child<QRadioButton>(*w, "RBBigMap")->click();
  QVERIFY(child(*w, "PnlBigMap")->isVisibleTo(w.get()));
  child<QRadioButton>(*w, "RbSmallMap")->click();
  QVERIFY(!child(*w, "PnlBigMap")->isVisibleTo(w.get()));
  QVERIFY(child(*w, "Image1")->isVisibleTo(w.get()));
}

void ResultWindowTest::cityPlotRunsTheZipTallyAndDrawsEveryContact() {
  Fixture f;
  auto w = f.open(Analysis::kCity);
  QVERIFY(child(*w, "BtnPlot")->isEnabled());  // no Count needed
  child<QPushButton>(*w, "BtnPlot")->click();
  const auto& locator = vistrel::geo::ZipLocator::builtIn();
  // Davis has zip 90210 and no city: drawn all the same. Clark's Canadian
  // postcode, Hall's empty zip and Irwin's "U.S.A." (no US spelling) draw
  // nothing.
  for (const char* zip : {"02134", "60614", "90210", "92101", "90001", "33101", "80202"}) {
    QVERIFY2(at(w->smallMap(), *locator.mapPoint(zip, false)) == kRed, zip);
    QVERIFY2(at(w->bigMap(), *locator.mapPoint(zip, true)) == kRed, zip);
  }
  const Raster clean = vistrel::geo::smallUsMap();
  for (const char* zip : {"75201", "98101"}) {  // 98101: Seattle, of database Clients
    QVERIFY2(at(w->smallMap(), *locator.mapPoint(zip, false)) == at(clean, *locator.mapPoint(zip, false)), zip);
  }
  QVERIFY(!w->busy());
}

void ResultWindowTest::clickShowsTheStatePicture() {
  Fixture f;
  auto w = f.open(Analysis::kState);
  const auto tx = vistrel::geo::StateSeedPoint("TX");
  w->Image1MouseMove(tx.x, tx.y);
  bool opened = false;
  onNextModal([&](QWidget* modal) {
    auto* map = qobject_cast<vistrel::geo::TFrmMap*>(modal);
    QVERIFY(map != nullptr);
    opened = true;
    QCOMPARE(map->windowTitle(), QStringLiteral("Texas"));
    QCOMPARE(map->size(), QSize(107, 171));
    QCOMPARE(map->image()->pixmap().size(), QSize(105, 105));
    QCOMPARE(vistrel::geo::fromQImage(map->image()->pixmap().toImage()), vistrel::geo::areaCodePicture("TX"));
    QCOMPARE(map->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Area Codes"));
    QVERIFY(map->findChild<QLabel*>(QStringLiteral("Label1"))->font().italic());
  });
  QTest::mouseClick(child(*w, "Image1"), Qt::LeftButton, {}, QPoint(tx.x, tx.y));
  QVERIFY(opened);

  // Pointing at the background clears the code, and a click opens nothing.
  w->Image1MouseMove(2, 2);
  w->Image1Click();
  QCOMPARE(QApplication::activeModalWidget(), nullptr);
}

void ResultWindowTest::othersListsTheOthers() {
  Fixture f;
  auto w = f.open(Analysis::kZipCode);
  QStringList items;
  QString title;
  onNextModal([&](QWidget* modal) {
    auto* others = qobject_cast<vistrel::geo::TFrmOther*>(modal);
    if (others == nullptr) return;
    title = others->windowTitle();
    for (int i = 0; i < others->list()->count(); ++i) items << others->list()->item(i)->text();
  });
  child<QPushButton>(*w, "BtnOthers")->click();
  QCOMPARE(title, QStringLiteral("Vistrel Professional"));
  QCOMPARE(items.join('|'), QStringLiteral("60614|75201|<<BLANK FIELD>>|M5V 2T6"));

  w->setOthers({});
  QCOMPARE(child<QPushButton>(*w, "BtnOthers")->text(), QStringLiteral("Others (0)"));
  QVERIFY(!child(*w, "BtnOthers")->isEnabled());
}

void ResultWindowTest::rangesRelabelTheLegendWhateverTheResult() {
  Fixture f;
  auto w = f.open(Analysis::kState);
  QCOMPARE(text(*w, "LblRange1"), QStringLiteral("1 - 8 %"));
  // Another program changed the file meanwhile; Cancel still reloads it.
  vistrel::testing::writeFile(home_ / "vistrel.ini", "[Ranges]\r\nR1Hi=10\r\nR2Lo=11\r\n");
  bool sawDialog = false;
  onNextModal([&](QWidget* modal) { sawDialog = qobject_cast<vistrel::geo::TFrmRanges*>(modal) != nullptr; });
  child<QPushButton>(*w, "BtnRanges")->click();
  std::filesystem::remove(home_ / "vistrel.ini");
  QVERIFY(sawDialog);
  QCOMPARE(text(*w, "LblRange1"), QStringLiteral("1 - 10 %"));
  QCOMPARE(text(*w, "LblRange2"), QStringLiteral("11 - 16 %"));
  QCOMPARE(w->ranges().range(0).high, 10);
}

void ResultWindowTest::saveAsWritesTheMapAsPainted_data() {
  QTest::addColumn<Analysis>("kind");
  QTest::addColumn<bool>("big");
  QTest::addColumn<QString>("name");
  QTest::newRow("state: the small map") << Analysis::kState << false << "map.bmp";
  QTest::newRow("as PNG") << Analysis::kState << false << "map.PNG";
  QTest::newRow("zip: the big map") << Analysis::kZipCode << true << "big.bmp";
  QTest::newRow("country: the world") << Analysis::kCountry << false << "world.bmp";
}

void ResultWindowTest::saveAsWritesTheMapAsPainted() {
  QFETCH(Analysis, kind);
  QFETCH(bool, big);
  QFETCH(QString, name);
  Fixture f;
  auto w = f.open(kind);
  child<QPushButton>(*w, "BtnCount")->click();
  if (child(*w, "BtnPlot")->isEnabled()) child<QPushButton>(*w, "BtnPlot")->click();
  if (big) child<QRadioButton>(*w, "RBBigMap")->click();
  const QString path = QString::fromStdString((f.dir() / name.toStdString()).string());
  w->setSaveFileChooser([&](QWidget*) { return path; });
  ScopedMessageRecorder messages;
  child<QPushButton>(*w, "BtnSaveAs")->click();
  QVERIFY(messages.messages().empty());
  const Raster& expected = big ? w->bigMap() : w->smallMap();
  const std::string bytes = vistrel::testing::readFile(path.toStdString());
  Raster written;
  if (name.endsWith(".png", Qt::CaseInsensitive)) {
    QVERIFY(bytes.rfind("\x89PNG", 0) == 0);
    written = vistrel::geo::fromQImage(QImage(path));
  } else {
    auto bmp = Raster::fromBmp(bytes);
    QVERIFY(bmp.ok());
    written = *bmp;
  }
  QCOMPARE(written, expected);
  if (kind == Analysis::kState) QCOMPARE(seedColour(written, "CA"), kGray);
  if (kind == Analysis::kCountry) QCOMPARE(written, vistrel::geo::worldMap());
}

void ResultWindowTest::aFailedSaveIsReported() {
  Fixture f;
  auto w = f.open(Analysis::kState);
  const auto path = f.dir() / "no such folder" / "map.bmp";
  w->setSaveFileChooser([&](QWidget*) { return QString::fromStdString(path.string()); });
  ScopedMessageRecorder messages;
  child<QPushButton>(*w, "BtnSaveAs")->click();
  QCOMPARE(messages.messages().size(), std::size_t{1});
  QCOMPARE(messages.messages()[0].icon, vistrel::host::MessageIcon::kError);
  QVERIFY(QString::fromStdString(messages.lastText()).startsWith("Unable to save the map to "));
  QVERIFY(!std::filesystem::exists(path));

  // A disk that fills up halfway leaves the map saved before as it was.
  const auto saved = f.dir() / "map.bmp";
  w->setSaveFileChooser([&](QWidget*) { return QString::fromStdString(saved.string()); });
  child<QPushButton>(*w, "BtnSaveAs")->click();
  const auto before = std::filesystem::file_size(saved);
  const auto entries = [&] {
    return std::distance(std::filesystem::directory_iterator(f.dir()), std::filesystem::directory_iterator());
  };
  const auto entriesBefore = entries();
  vistrel::host::setWriteFaultForTesting([](const std::filesystem::path&) { return ENOSPC; });
  messages.clear();
  child<QPushButton>(*w, "BtnSaveAs")->click();
  vistrel::host::setWriteFaultForTesting(nullptr);
  QCOMPARE(messages.messages().size(), std::size_t{1});
  QCOMPARE(std::filesystem::file_size(saved), before);
  QCOMPARE(entries(), entriesBefore);  // no temporary file left
}

void ResultWindowTest::saveAsWritesReportsOfWhatTheWindowHolds() {
  Fixture f;
  auto w = f.open(Analysis::kState);
  w->setActiveFilter("Texas or Florida", true);
  QString path;
  w->setSaveFileChooser([&](QWidget*) { return path; });
  ScopedMessageRecorder messages;
  const auto save = [&](const char* name) {
    path = QString::fromStdString((f.dir() / name).string());
    child<QPushButton>(*w, "BtnSaveAs")->click();
    return vistrel::testing::readFile(path.toStdString());
  };
  // Before a Count the page lists the states without counts or colours.
  std::string page = save("before.html");
  QVERIFY(page.find("<title>California</title>") != std::string::npos);
  QVERIFY(page.find("The values were not counted") != std::string::npos);
  child<QPushButton>(*w, "BtnCount")->click();
  page = save("after.HTML");
  QVERIFY(page.find("<title>California: 3 contacts, 25%</title>") != std::string::npos);
  QVERIFY(page.find("Texas or Florida (reversed") != std::string::npos);
  const std::string geo = save("states.geojson");
  QVERIFY(geo.find("{\"key\": \"CA\", \"name\": \"California\", \"fips\": \"06\", \"count\": 3, \"share\": 25}") !=
          std::string::npos);
  // The City page walks the contacts for the dots of their zip codes.
  auto city = f.open(Analysis::kCity);
  city->setSaveFileChooser([&](QWidget*) { return path; });
  path = QString::fromStdString((f.dir() / "city.html").string());
  child<QPushButton>(*city, "BtnSaveAs")->click();
  QVERIFY(vistrel::testing::readFile(path.toStdString()).find("<title>90210 Beverly Hills, CA</title>") !=
          std::string::npos);
  QVERIFY(messages.messages().empty());
}

void ResultWindowTest::printToPdf() {
  Fixture f;
  auto w = f.open(Analysis::kState);
  w->show();
  QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  const std::string pdf = (f.dir() / "window.pdf").string();
  w->setPrintSetup([&](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf));
    return true;
  });
  ScopedMessageRecorder messages;
  child<QPushButton>(*w, "BtnPrint")->click();
  QVERIFY(messages.messages().empty());
  const std::string bytes = vistrel::testing::readFile(pdf);
  QVERIFY(bytes.rfind("%PDF", 0) == 0);
  QVERIFY(bytes.size() > 10000);  // the window's image, not an empty page

  // A printer that cannot start is reported.
  QTest::ignoreMessage(QtWarningMsg, "QPainter::begin(): Returned false");
  w->setPrintSetup([&](QPrinter& printer, QWidget*) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString((f.dir() / "missing" / "x.pdf").string()));
    return true;
  });
  child<QPushButton>(*w, "BtnPrint")->click();
  QCOMPARE(messages.messages().size(), std::size_t{1});
  QCOMPARE(messages.messages()[0].icon, vistrel::host::MessageIcon::kError);
}

void ResultWindowTest::windowAndCommandLineGiveTheSameCountsAndShares() {
  Fixture f;
  for (const vistrel::geo::AnalysisInfo& info : vistrel::geo::allAnalyses()) {
    auto w = f.open(info.kind);
    child<QPushButton>(*w, "BtnCount")->click();
    std::ostringstream out, err;
    QCOMPARE(vistrel::cli::runCli({"analyse", "--data", f.dir().string(), "--database", "Sales", "--by",
                                   std::string(info.name), "--count"},
                                  out, err),
             0);
    const QStringList lines = QString::fromStdString(out.str()).split(QLatin1Char('\n'));
    const int rows = w->grid()->rowCount() - 1;
    QVERIFY(rows > 0);
    for (int row = 1; row <= rows; ++row) {
      // "value   count (share)", the count right-aligned in eight places.
      const QString line = lines.value(row);
      const QString count = w->grid()->cell(1, row);
      const std::string share = w->report().share(static_cast<std::size_t>(row - 1), vistrel::host::Locale());
      QVERIFY2(line.startsWith(w->grid()->cell(0, row) + QLatin1Char(' ')), qPrintable(line));
      QVERIFY2(line.endsWith(QStringLiteral("%1").arg(count, 8) + QString::fromStdString(share)), qPrintable(line));
    }
    QVERIFY(lines.contains(text(*w, "LblRecTotal")));
  }
}

void ResultWindowTest::escapeLeavesTheWindowAndItsCounts() {
  Fixture f;
  auto w = f.open(Analysis::kState);
  w->show();
  QVERIFY(QTest::qWaitForWindowExposed(w.get()));
  child<QPushButton>(*w, "BtnCount")->click();
  QTest::keyClick(w.get(), Qt::Key_Escape);
  QVERIFY(w->isVisible());
  QCOMPARE(w->result(), 0);
  QCOMPARE(cells(*w, 1), QStringLiteral("3,1,1,1,2,2,2"));
  child<QPushButton>(*w, "BtnExit")->click();
  QVERIFY(!w->isVisible());
}

void ResultWindowTest::aFailedCountShowsThatNothingIsCounted() {
  Fixture f;
  auto w = f.open(Analysis::kState);
  child<QPushButton>(*w, "BtnCount")->click();
  QCOMPARE(text(*w, "LblRecTotal"), QStringLiteral("12 total records"));
  // The fourth contact cannot be read.
  int read = 0;
  f.contacts().setOnFilterRecord([&](vistrel::host::Table& t) {
    if (++read == 4) t.stopFiltering(vistrel::host::Status::IoError("CONTACT.DB: disk I/O error"));
    return true;
  });
  QVERIFY(f.contacts().setFiltered(true).ok());
  read = 0;
  ScopedMessageRecorder messages;
  child<QPushButton>(*w, "BtnCount")->click();
  QCOMPARE(messages.messages().size(), std::size_t{1});
  QCOMPARE(messages.lastText(), std::string("CONTACT.DB: disk I/O error"));
  QCOMPARE(text(*w, "LblRecTotal"), QStringLiteral("Total Records (Not Counted)"));
  QCOMPARE(w->total(), 0);
  QVERIFY(!w->busy());
}

void ResultWindowTest::aFilterThatFailsMidCountShowsItsFailure() {
  namespace filter = vistrel::filter;
  Fixture f;
  auto w = f.open(Analysis::kState);
  child<QPushButton>(*w, "BtnCount")->click();
  // State TX and an event of type CALL: only the Texan contacts are decided
  // on their events, and the event table is gone by then.
  filter::FilterLine texas{"Contact", "State", 5, "TX", false, false, false, false, 0, 0, 1};
  filter::FilterLine call{"Contact", "Event Type", 5, "CALL", false, false, false, false, 0, 0, 0};
  filter::CompiledFilter compiled;
  QVERIFY(compiled
              .activatethisfilter("texas",
                                  filter::joinMemoLines({filter::writeFilterLine(texas), filter::writeFilterLine(call)}),
                                  "DEM", vistrel::host::FixedClock(45427.0), vistrel::host::Locale())
              .empty());
  QVERIFY(compiled.install(f.contacts(), f.contacts().engine()).ok());
  sqlite3* db = nullptr;
  QCOMPARE(sqlite3_open((f.dir() / std::string(vistrel::host::kDataFileName)).c_str(), &db), SQLITE_OK);
  QCOMPARE(sqlite3_exec(db, "DROP TABLE event", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);

  ScopedMessageRecorder messages;
  child<QPushButton>(*w, "BtnCount")->click();
  QCOMPARE(messages.messages().size(), std::size_t{1});
  QVERIFY2(QString::fromStdString(messages.lastText()).contains(QStringLiteral("event"), Qt::CaseInsensitive),
           messages.lastText().c_str());
  QCOMPARE(text(*w, "LblRecTotal"), QStringLiteral("Total Records (Not Counted)"));
}

QTEST_MAIN(ResultWindowTest)
#include "result_window_test.moc"
