#include "app/journal_page.h"

#include <QAction>
#include <QDesktopServices>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTableWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "app/picture_window.h"
#include "chart/canvas.h"
#include "common/data_root.h"

namespace vorelin {
namespace {

constexpr int kPicPathColumn = 11;
constexpr int kReasonColumn = kReasonValue;
// '价格' … '剩余资金' hold amounts, read best right-aligned.
constexpr int kFirstAmountColumn = 4;
constexpr int kLastAmountColumn = 9;
constexpr int kCellPadding = 14;
// The statistics text lines its figures up with spaces, counting a Chinese character as two
// Latin ones: only a font with exactly that ratio keeps the columns (Micro Hei Mono's Latin
// letters are 0.6 of a Chinese one), and at an even pixel size both widths are whole pixels.
constexpr const char* kStatisticsFont = "WenQuanYi Zen Hei Mono";
constexpr int kStatisticsPixels = 14;

QColor LineColour(uint32_t bbggrr) { return QColor(RedOf(bbggrr), GreenOf(bbggrr), BlueOf(bbggrr)); }

}  // namespace

JournalPage::JournalPage(PracticeSession& session, MessageSink& messages, QWidget* parent)
    : QWidget(parent), session_(session), messages_(messages) {
  open_folder_ = [this](const std::filesystem::path& folder) {
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(folder.string()))))
      messages_.Show("无法打开目录：" + folder.string());
  };

  list_ = new QTableWidget(0, kJournalColumnCount);
  list_->setObjectName("lvJournal");
  QStringList captions;
  for (const char* caption : kJournalCaptions) captions << QString::fromUtf8(caption);
  list_->setHorizontalHeaderLabels(captions);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setShowGrid(true);
  list_->setWordWrap(false);
  list_->verticalHeader()->hide();
  list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 8);
  list_->horizontalHeader()->setStretchLastSection(true);
  list_->setContextMenuPolicy(Qt::ActionsContextMenu);
  AddMenuAction("mniRefresh", kRefreshCaption, &JournalPage::Refresh);
  AddMenuAction("mniExport", kExportCaption, &JournalPage::ExportClick);
  AddMenuAction("mniOpenLogFolder", kOpenLogFolderCaption, &JournalPage::OpenLogFolder);
  connect(list_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { ShowPicture(row); });

  statistics_ = new QPlainTextEdit;
  statistics_->setObjectName("mmoStatistics");
  statistics_->setReadOnly(true);
  QFont mono(kStatisticsFont);
  mono.setPixelSize(kStatisticsPixels);
  mono.setStyleHint(QFont::TypeWriter);
  statistics_->setFont(mono);

  auto* splitter = new QSplitter(Qt::Vertical);
  splitter->addWidget(list_);
  splitter->addWidget(statistics_);
  splitter->setStretchFactor(0, 1);
  splitter->setChildrenCollapsible(false);
  // Room for the statistics text (eleven lines and the last line end); the list takes whatever the window adds.
  const int lines_high = statistics_->fontMetrics().lineSpacing() * 12 + 16;
  splitter->setSizes({400, lines_high});
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(splitter);
}

void JournalPage::AddMenuAction(const char* name, const char* caption, void (JournalPage::*slot)()) {
  auto* action = new QAction(QString::fromUtf8(caption), list_);
  action->setObjectName(name);
  connect(action, &QAction::triggered, this, slot);
  list_->addAction(action);
}

void JournalPage::Refresh() {
  std::string text;
  std::vector<JournalLine> lines;
  if (!session_.JournalPage(lines, text)) return;
  lines_ = std::move(lines);
  // The reason gets a column of its own once a trade was given one.
  const bool reasons = HasOwnReasons(lines_);
  const int columns = kJournalColumnCount + (reasons ? 1 : 0);
  list_->setColumnCount(columns);
  if (reasons) list_->setHorizontalHeaderItem(kReasonColumn, new QTableWidgetItem(QString::fromUtf8(kReasonCaption)));
  list_->setRowCount(0);
  list_->setRowCount(static_cast<int>(lines_.size()));
  for (int row = 0; row < list_->rowCount(); ++row) {
    const JournalLine& line = lines_[static_cast<size_t>(row)];
    for (int column = 0; column < columns; ++column) {
      auto* item = new QTableWidgetItem(QString::fromStdString(line.Value(column)));
      item->setForeground(LineColour(line.colour));
      if (column >= kFirstAmountColumn && column <= kLastAmountColumn)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
      list_->setItem(row, column, item);
    }
  }
  list_->resizeColumnsToContents();
  for (int column = 0; column + 1 < columns; ++column)  // the last one stretches
    list_->setColumnWidth(column, list_->columnWidth(column) + kCellPadding);
  if (lines_.empty()) return;
  QString shown = QString::fromStdString(text);
  shown.replace("\r\n", "\n");
  statistics_->setPlainText(shown);
}

void JournalPage::ExportClick() { session_.ExportClick(); }

void JournalPage::OpenLogFolder() { open_folder_(session_.Root() / kExportFolder); }

void JournalPage::ShowPicture(int row) {
  if (row < 0 || row >= static_cast<int>(lines_.size())) return;
  if (picture_ == nullptr) picture_ = new TForm5(this);
  const JournalLine& line = lines_[static_cast<size_t>(row)];
  picture_->ShowJournalPicture(session_.Root(), line.Value(kPicPathColumn), line.Value(kReasonColumn));
}

}  // namespace vorelin
