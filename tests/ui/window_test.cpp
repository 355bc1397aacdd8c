// The window against real folder trees: what the first listing shows, the
// moves up and down, a listing started inside another, closing during a
// listing, and which operation each user action starts.
#include <gtest/gtest.h>

#include <QDir>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWebEngineView>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "analysis/listing.h"
#include "encoding/native_name.h"
#include "lookup/search_query.h"
#include "support/temp_tree.h"
#include "ui/qt/display_text.h"
#include "ui/qt/main_window.h"
#include "ui/qt/qt_controls.h"
#include "ui/window_test_support.h"

namespace appdu::qt {
namespace {

using testing::FileUri;
using testing::PrivateBusWithFileManager;
using testing::RecordingMessageBox;
using testing::RecordingWebView;
using testing::TempDir;
using testing::WaitFor;

enum Button { kUp = 0, kDown = 1, kSearch = 2, kDelete = 3 };

Text T(const std::string& native) { return TextFromNative(native); }

std::string SearchUrl(const std::string& escapedQuery) {
  return std::string("https://") + kSearchHost + "/search?q=" + escapedQuery + "&mkt=zh-CN";
}

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override { unsetenv("USERPROFILE"); }

  void MakeWindow(bool show = true) {
    window = std::make_unique<MainWindow>(&messageBox, &webView);
    if (show) {
      window->show();
      ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
  }

  void List(const std::string& native) { ListFolder(window->Session(), T(native)); }

  std::vector<std::array<Text, 4>> Rows() const {
    std::vector<std::array<Text, 4>> rows;
    for (int row = 0; row < window->List()->topLevelItemCount(); ++row) {
      std::array<Text, 4> cells;
      for (int column = 0; column < 4; ++column) cells[column] = window->Controls().CellText(row, column);
      rows.push_back(cells);
    }
    return rows;
  }
  std::vector<Text> PathColumn() const {
    std::vector<Text> paths;
    for (const auto& row : Rows()) paths.push_back(row[1]);
    return paths;
  }

  QPoint RowPoint(int row) const {
    return window->List()->visualItemRect(window->List()->topLevelItem(row)).center();
  }
  QPoint BelowRows() const { return QPoint(100, window->List()->viewport()->height() - 10); }
  void ClickList(Qt::MouseButton button, QPoint at) {
    QTest::mouseClick(window->List()->viewport(), button, {}, at);
  }
  void Click(Button button) { QTest::mouseClick(window->Button(button), Qt::LeftButton); }
  void Key(int key) { QTest::keyClick(window->List(), static_cast<Qt::Key>(key)); }
  std::uint64_t Listings() const { return window->Session().listingsStarted; }

  TempDir tree;
  RecordingWebView webView;
  RecordingMessageBox messageBox;
  std::unique_ptr<MainWindow> window;
};

TEST_F(WindowTest, StartShowsTheWindowThenListsTheHomeFolder) {
  const std::string home = tree / "home";
  tree.MakeFile("home/big/deep/er/f", 3000);
  tree.MakeFile("home/mid/f", 1152);
  tree.MakeFolder("home/empty");
  tree.MakeFile("home/\xF0\x9F\x98\x80 emoji/f", 1536);
  const std::int64_t now = std::time(nullptr);
  tree.SetModified("home/big", now - (3 * 86400 + 60 + 30));
  setenv("HOME", home.c_str(), 1);

  MakeWindow(/*show=*/false);
  bool visibleAtFirstRow = false;
  window->Session().rowWritten = [&](int row, const FolderEntry&, std::optional<platform::TimeValue>) {
    if (row == 0) visibleAtFirstRow = window->isVisible();
  };
  EXPECT_FALSE(window->isVisible());
  window->Start();

  EXPECT_TRUE(visibleAtFirstRow);
  EXPECT_EQ(webView.userAgents, std::vector<Text>{kUserAgent});
  EXPECT_TRUE(webView.urls.empty());
  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 4u);
  const char* names[] = {"big", "\xF0\x9F\x98\x80 emoji", "mid", "empty"};
  const char* sizes[] = {"2.93KB", "1.5KB", "1.13KB", "0B"};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i][0], std::to_string(i + 1));
    EXPECT_EQ(rows[i][1], T(home + "/" + names[i]));
    EXPECT_EQ(rows[i][3], sizes[i]);
    // What the list shows is the name itself, emoji included.
    EXPECT_EQ(window->List()->topLevelItem(i)->text(1), QString::fromUtf8(home + "/" + names[i]));
  }
  EXPECT_EQ(rows[0][2].rfind(TextFromUtf8("3天1分"), 0), 0u) << DisplayString(rows[0][2]).toStdString();
  EXPECT_EQ(window->Controls().StatusText(2), T(home + "/"));
  EXPECT_EQ(window->Status()->Pane(2)->text(), QString::fromUtf8(home + "/"));
  EXPECT_EQ(window->Status()->Pane(1)->text(), QStringLiteral("提示"));
  EXPECT_EQ(window->PercentLabel()->text(), QStringLiteral("100%"));
  EXPECT_EQ(window->Controls().ProgressMaximum(), 8);
  EXPECT_EQ(window->Controls().ProgressPosition(), 8);
  EXPECT_EQ(window->ProgressBar()->value(), window->ProgressBar()->maximum());
  EXPECT_EQ(window->Controls().SelectedRow(), -1);
}

// Records the percent label's text every time it is painted.
class PaintedTexts : public QObject {
 public:
  std::vector<QString> texts;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      const QString text = static_cast<QLabel*>(watched)->text();
      if (!text.isEmpty() && (texts.empty() || texts.back() != text)) texts.push_back(text);
    }
    return false;
  }
};

TEST_F(WindowTest, PercentTextIsPaintedAtEveryStepOfBothPasses) {
  tree.MakeFile("a/f", 10);
  tree.MakeFile("b/f", 20);
  tree.MakeFile("c/f", 30);
  MakeWindow();
  PaintedTexts painted;
  window->PercentLabel()->installEventFilter(&painted);
  List(tree.path());
  EXPECT_EQ(painted.texts, (std::vector<QString>{"16%", "33%", "50%", "66%", "83%", "100%"}));
  // A folder without subfolders leaves the percent text and the bar's
  // position alone, and the bar empty rather than busy.
  List(tree / "a");
  EXPECT_TRUE(Rows().empty());
  EXPECT_EQ(window->PercentLabel()->text(), QStringLiteral("100%"));
  EXPECT_EQ(window->Controls().ProgressMaximum(), 0);
  EXPECT_EQ(window->Controls().ProgressPosition(), 6);
  EXPECT_EQ(window->ProgressBar()->value(), 0);
  EXPECT_GT(window->ProgressBar()->maximum(), 0);
  EXPECT_EQ(window->Controls().StatusText(2), T(tree / "a"));
}

TEST_F(WindowTest, UpDownAndUpAgainThroughTheButtons) {
  tree.MakeFile("top/a/x/f", 200);
  tree.MakeFile("top/a/y/f", 100);
  tree.MakeFile("top/b/f", 50);
  MakeWindow();
  List(tree / "top/a");
  EXPECT_EQ(PathColumn(), (std::vector<Text>{T(tree / "top/a/x"), T(tree / "top/a/y")}));

  Click(kUp);
  EXPECT_EQ(window->Controls().StatusText(2), T(tree / "top/"));
  EXPECT_EQ(PathColumn(), (std::vector<Text>{T(tree / "top/a"), T(tree / "top/b")}));

  // 下级 with nothing selected does nothing.
  const auto before = Listings();
  Click(kDown);
  EXPECT_EQ(Listings(), before);

  ClickList(Qt::LeftButton, RowPoint(0));
  Click(kDown);
  EXPECT_EQ(window->Controls().StatusText(2), T(tree / "top/a"));
  EXPECT_EQ(PathColumn(), (std::vector<Text>{T(tree / "top/a/x"), T(tree / "top/a/y")}));

  Click(kUp);
  EXPECT_EQ(window->Controls().StatusText(2), T(tree / "top/"));
  EXPECT_EQ(PathColumn(), (std::vector<Text>{T(tree / "top/a"), T(tree / "top/b")}));
}

// A tree whose first pass takes long enough to click in: many small files.
void MakeSlowFolder(TempDir& tree, const std::string& relative) {
  for (const char* sub : {"s1", "s2", "s3"}) {
    for (int i = 0; i < 400; ++i) tree.MakeFile(relative + "/" + sub + "/f" + std::to_string(i), 1);
  }
}

TEST_F(WindowTest, UpClickedDuringAListingReplacesIt) {
  MakeSlowFolder(tree, "p/q");
  tree.MakeFile("p/r/f", 5000);
  MakeWindow();
  bool clickedInside = false;
  QTimer::singleShot(0, window.get(), [&] {
    clickedInside = true;
    Click(kUp);
  });
  List(tree / "p/q");
  ASSERT_TRUE(clickedInside);
  // Only the parent's listing shows: its rows, its folder, its progress.
  const auto rows = Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0], "1");
  EXPECT_EQ(rows[0][1], T(tree / "p/r"));
  EXPECT_EQ(rows[1][0], "2");
  EXPECT_EQ(rows[1][1], T(tree / "p/q"));
  EXPECT_EQ(window->Controls().StatusText(2), T(tree / "p/"));
  EXPECT_EQ(window->Session().currentFolder, T(tree / "p/"));
  EXPECT_EQ(window->Controls().ProgressMaximum(), 4);
  EXPECT_EQ(window->Controls().ProgressPosition(), 4);
  EXPECT_EQ(window->Controls().PercentText(), "100%");
}

TEST_F(WindowTest, DownClickedDuringAListingFindsNoRowAndChangesNothing) {
  MakeSlowFolder(tree, "p/q");
  MakeWindow();
  List(tree / "p");
  ClickList(Qt::LeftButton, RowPoint(0));
  std::uint64_t listingsInside = 0;
  QTimer::singleShot(0, window.get(), [&] {
    listingsInside = Listings();
    Click(kDown);
    listingsInside = Listings() - listingsInside;
  });
  List(tree / "p/q");
  EXPECT_EQ(listingsInside, 0u);
  std::vector<Text> paths = PathColumn();
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(paths, (std::vector<Text>{T(tree / "p/q/s1"), T(tree / "p/q/s2"), T(tree / "p/q/s3")}));
}

TEST_F(WindowTest, ClosingDuringAListingStopsItAndWritesNothingMore) {
  MakeSlowFolder(tree, "p");
  MakeWindow();
  QTimer::singleShot(0, window.get(), [&] { window->close(); });
  List(tree / "p");
  EXPECT_TRUE(window->Closed());
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(Rows().empty());
  EXPECT_NE(window->Controls().PercentText(), "100%");
  // Nothing a late click could start reaches the closed window.
  const auto before = Listings();
  window->Button(kUp)->click();
  EXPECT_EQ(Listings(), before);
  window.reset();
}

TEST_F(WindowTest, EachUserActionRunsItsOwnOperationOnly) {
  PrivateBusWithFileManager bus;
  ASSERT_TRUE(bus.Ready());
  tree.MakeFile("t/aa/f", 300);
  tree.MakeFile("t/bb/f", 100);
  MakeWindow();
  List(tree / "t");
  ASSERT_EQ(PathColumn(), (std::vector<Text>{T(tree / "t/aa"), T(tree / "t/bb")}));
  const std::string searchAa = SearchUrl("%61%61"), searchBb = SearchUrl("%62%62"),
                    searchNone = SearchUrl("");

  struct Step {
    const char* action;
    std::function<void()> run;
    int selectedAfter;
    std::vector<std::string> newUrls;
    std::size_t notices;  // in total after the step
    int newListings;
  };
  std::vector<QString> expectedReveals;
  const std::vector<Step> steps = {
      {"arrow down twice",
       [&] {
         window->List()->setFocus();
         Key(Qt::Key_Down);
         Key(Qt::Key_Down);
       },
       1,
       {},
       0,
       0},
      {"Enter on a row",
       [&] {
         Key(Qt::Key_Return);
         Key(Qt::Key_Enter);
       },
       1,
       {},
       0,
       0},
      {"header click",
       [&] {
         QHeaderView* header = window->List()->header();
         QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                           QPoint(header->sectionViewportPosition(3) + 10, header->height() / 2));
       },
       1,
       {},
       0,
       0},
      {"搜索", [&] { Click(kSearch); }, 1, {searchBb}, 0, 0},
      {"删除 the first time", [&] { Click(kDelete); }, 1, {}, 1, 0},
      {"删除 again", [&] { Click(kDelete); }, 1, {}, 1, 0},
      {"right click on a row", [&] { ClickList(Qt::RightButton, RowPoint(0)); }, 0, {}, 1, 0},
      {"left click on a row", [&] { ClickList(Qt::LeftButton, RowPoint(1)); }, 1, {searchBb}, 1, 0},
      {"left click below the rows", [&] { ClickList(Qt::LeftButton, BelowRows()); }, -1, {searchNone}, 1, 0},
      {"删除 with nothing selected", [&] { Click(kDelete); }, -1, {}, 1, 0},
      {"right click below the rows",
       [&] {
         window->List()->setCurrentItem(window->List()->topLevelItem(0));
         ClickList(Qt::RightButton, BelowRows());
       },
       -1,
       {},
       1,
       0},
      // Its first click is a click like any other; the second, the double
      // click itself, starts nothing.
      {"double click",
       [&] {
         ClickList(Qt::LeftButton, RowPoint(0));
         QTest::mouseDClick(window->List()->viewport(), Qt::LeftButton, {}, RowPoint(0));
         QTest::mouseRelease(window->List()->viewport(), Qt::LeftButton, {}, RowPoint(0));
       },
       0,
       {searchAa},
       1,
       0},
      {"arrow down then 下级",
       [&] {
         Key(Qt::Key_Down);
         Click(kDown);
       },
       -1,
       {},
       1,
       1},
      {"上级", [&] { Click(kUp); }, -1, {}, 1, 1},
  };
  expectedReveals = {FileUri(tree / "t/bb"), FileUri(tree / "t/bb"), FileUri(tree / "t/aa")};

  for (const Step& step : steps) {
    SCOPED_TRACE(step.action);
    const std::size_t urlsBefore = webView.urls.size();
    const auto listingsBefore = Listings();
    step.run();
    EXPECT_EQ(window->Controls().SelectedRow(), step.selectedAfter);
    EXPECT_EQ(std::vector<std::string>(webView.urls.begin() + static_cast<std::ptrdiff_t>(urlsBefore),
                                       webView.urls.end()),
              step.newUrls);
    EXPECT_EQ(messageBox.texts.size(), step.notices);
    EXPECT_EQ(Listings() - listingsBefore, static_cast<std::uint64_t>(step.newListings));
  }
  ASSERT_EQ(messageBox.texts.size(), 1u);
  EXPECT_EQ(messageBox.texts[0], TextFromUtf8("请手动删除"));
  EXPECT_EQ(window->Controls().StatusText(2), T(tree / "t/"));
  EXPECT_EQ(window->Controls().StatusText(2), window->Session().currentFolder);

  // The reveals reach the file manager in order, each with its row's folder.
  ASSERT_TRUE(WaitFor([&] { return bus.Calls().size() >= 3; }));
  QTest::qWait(300);
  const QStringList calls = bus.Calls();
  ASSERT_EQ(calls.size(), 3) << calls.join(QLatin1Char('\n')).toStdString();
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(calls[i].startsWith(QStringLiteral("ShowItems "))) << calls[i].toStdString();
    EXPECT_TRUE(calls[i].endsWith(QLatin1Char(' ') + expectedReveals[i])) << calls[i].toStdString();
  }
}

TEST_F(WindowTest, ControlsKeepWhatIsWrittenToThem) {
  MakeWindow();
  QtListingControls& controls = window->Controls();
  EXPECT_EQ(controls.AppendRow(), 0);
  EXPECT_EQ(controls.AppendRow(), 1);
  // A name that is not UTF-8 and one the code page lacks: the cell gives back
  // the exact text, the list shows the name.
  const std::string badName =
      "/x/\xFF\xFE"
      "bad";
  const std::string emoji = "/x/\xF0\x9F\x98\x80";
  controls.SetCellText(0, 1, T(badName));
  controls.SetCellText(1, 1, T(emoji));
  controls.SetCellText(7, 1, "ignored");
  EXPECT_EQ(controls.CellText(0, 1), T(badName));
  EXPECT_EQ(controls.CellText(1, 1), T(emoji));
  EXPECT_EQ(window->List()->topLevelItem(0)->text(1), QStringLiteral("/x/\uFFFD\uFFFDbad"));
  EXPECT_EQ(window->List()->topLevelItem(1)->text(1), QString::fromUtf8(emoji));
  EXPECT_EQ(controls.CellText(1, 0), "");
  EXPECT_EQ(controls.CellText(2, 1), "");
  EXPECT_EQ(controls.CellText(-1, 1), "");
  EXPECT_EQ(controls.SelectedRow(), -1);
  window->List()->setCurrentItem(window->List()->topLevelItem(1));
  EXPECT_EQ(controls.SelectedRow(), 1);
  controls.RemoveAllRows();
  EXPECT_EQ(controls.SelectedRow(), -1);
  EXPECT_EQ(controls.AppendRow(), 0);

  struct Case {
    std::int32_t maximum, position, storedMaximum, storedPosition, barValue;
  };
  for (const Case& c :
       {Case{100, 50, 100, 50, 50}, Case{-5, -1, 0, 0, 0}, Case{40000, 40000, 32767, 32767, 32767},
        Case{10, 20, 10, 20, 10}, Case{0, 3, 0, 3, 0}}) {
    SCOPED_TRACE(c.maximum);
    controls.SetProgressMaximum(c.maximum);
    controls.SetProgressPosition(c.position);
    EXPECT_EQ(controls.ProgressMaximum(), c.storedMaximum);
    EXPECT_EQ(controls.ProgressPosition(), c.storedPosition);
    EXPECT_EQ(window->ProgressBar()->value(), c.barValue);
    EXPECT_EQ(window->ProgressBar()->minimum(), 0);
  }
}

TEST_F(WindowTest, MessageBoxIsModalWithChineseButtonsAndADefaultTitle) {
  struct Case {
    MessageBoxButtons buttons;
    Text title;
    QString shownTitle;
    int key;
    MessageBoxAnswer answer;
  };
  const std::vector<Case> cases = {
      {MessageBoxButtons::OkCancel, "", QStringLiteral("信息："), Qt::Key_Escape, MessageBoxAnswer::Cancel},
      {MessageBoxButtons::OkCancel, TextFromUtf8("免责声明:"), QStringLiteral("免责声明:"), Qt::Key_Return,
       MessageBoxAnswer::Ok},
      {MessageBoxButtons::Ok, "", QStringLiteral("信息："), Qt::Key_Escape, MessageBoxAnswer::Ok},
  };
  for (const Case& c : cases) {
    QString title, text;
    QStringList buttons;
    bool modal = false;
    QTimer::singleShot(50, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (box == nullptr) return;
      title = box->windowTitle();
      text = box->text();
      modal = box->windowModality() == Qt::ApplicationModal && box->parentWidget() == nullptr;
      for (QAbstractButton* button : box->buttons()) buttons << button->text();
      QTest::keyClick(box, static_cast<Qt::Key>(c.key));
    });
    QtMessageBox box;
    EXPECT_EQ(box.Show(TextFromUtf8("请手动删除"), c.title, c.buttons), c.answer);
    EXPECT_EQ(title, c.shownTitle);
    EXPECT_EQ(text, QStringLiteral("请手动删除"));
    EXPECT_TRUE(modal);
    buttons.sort();
    EXPECT_EQ(buttons, c.buttons == MessageBoxButtons::OkCancel ? QStringList({"取消", "确定"})
                                                                : QStringList({"确定"}));
  }
}

TEST_F(WindowTest, ControlsSitWhereTheyBelong) {
  MakeWindow();
  EXPECT_EQ(window->frameGeometry(), QRect(50, 50, 1100, 447));
  EXPECT_EQ(window->List()->geometry(), QRect(8, 8, 632, 384));
  const char* captions[] = {"上级", "下级", "搜索", "删除"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(window->Button(i)->geometry(), QRect(648, 8 + 32 * i, 72, 24));
    EXPECT_EQ(window->Button(i)->text(), QString::fromUtf8(captions[i]));
  }
  EXPECT_EQ(window->ProgressBar()->geometry(), QRect(648, 368, 72, 24));
  EXPECT_EQ(window->PercentLabel()->geometry(), window->ProgressBar()->geometry());
  EXPECT_EQ(window->PercentLabel()->alignment(), Qt::AlignCenter);
  EXPECT_FALSE(window->PercentLabel()->autoFillBackground());
  EXPECT_EQ(window->WebEngineView()->geometry(), QRect(728, 8, 360, 384));
  EXPECT_TRUE(window->WebEngineView()->url().isEmpty());
  StatusBar* bar = window->Status();
  EXPECT_EQ(bar->geometry().bottom(), window->height() - 1);
  EXPECT_EQ(bar->width(), window->width());
  EXPECT_GT(bar->y(), 392);
  EXPECT_EQ(bar->Pane(0)->geometry().width(), 4);
  EXPECT_EQ(bar->Pane(1)->geometry().left(), 4);
  EXPECT_EQ(bar->Pane(1)->geometry().width(), 30);
  EXPECT_EQ(bar->Pane(1)->text(), QStringLiteral("提示"));
  EXPECT_EQ(bar->Pane(2)->geometry().left(), 34);
  EXPECT_EQ(bar->Pane(2)->frameShadow(), QFrame::Sunken);
  EXPECT_EQ(bar->Pane(0)->frameShape(), QFrame::NoFrame);
  // The "提示" text fits its pane.
  EXPECT_LE(bar->Pane(1)->fontMetrics().horizontalAdvance(bar->Pane(1)->text()), 30);

  ReportList* list = window->List();
  const QStringList headers = {"索引", "路径", "修改时间", "大小"};
  const int widths[] = {40, 285, 225, 75};
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(list->headerItem()->text(column), headers[column]);
    EXPECT_EQ(list->header()->sectionSize(column), widths[column]);
  }
  EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
  EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
  EXPECT_FALSE(list->isSortingEnabled());
  EXPECT_EQ(list->palette().color(QPalette::Inactive, QPalette::Highlight),
            list->palette().color(QPalette::Active, QPalette::Highlight));

  // A picture of the bar part way, to look at: the text centred, the bar
  // showing through around it.
  window->Controls().SetProgressMaximum(6);
  window->Controls().SetProgressPosition(2);
  window->Controls().SetPercentText("33%");
  QDir().mkpath(QStringLiteral(QT_TESTCASE_BUILDDIR "/artefacts"));
  window->grab().save(QStringLiteral(QT_TESTCASE_BUILDDIR "/artefacts/window_progress_33.png"));
}

}  // namespace
}  // namespace appdu::qt
