#include "app/window/run_report_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

#include <set>

#include "platform/codepage.h"

namespace vx::app {

namespace {

QString Q(const std::string& cp1252) { return QString::fromStdString(vx::platform::Cp1252ToUtf8(cp1252)); }

const char* const kColumns[] = {"Gravit\xC3\xA0", "Argomento", "Ditta",  "Dipendente",
                                "Cognome e nome", "Campo",     "Valore", "Problema"};

QString CheckedLine(const RunReport& report) {
  int total = 0;
  QStringList companies;
  for (const auto& [company, employees] : report.CheckedCounts()) {
    total += employees;
    companies << Q(company) + ": " + QString::number(employees);
  }
  if (companies.isEmpty()) return {};
  return QString("Dipendenti controllati: %1 (per ditta %2).").arg(total).arg(companies.join(", "));
}

}  // namespace

RunReportDialog::RunReportDialog(const RunReport& report, QWidget* parent, const char* title) : QDialog(parent) {
  setObjectName("RunReportDialog");
  setWindowTitle(QString::fromUtf8(title));
  auto* layout = new QVBoxLayout(this);

  int errors = 0;
  for (const ReportEntry& e : report.Entries()) errors += e.severity == Severity::Error;
  auto* summary = new QLabel(QString("%1 errori, %2 avvisi. %3")
                                 .arg(errors)
                                 .arg(static_cast<int>(report.Entries().size()) - errors)
                                 .arg(CheckedLine(report)),
                             this);
  summary->setWordWrap(true);
  layout->addWidget(summary);

  table_ = new QTableWidget(static_cast<int>(report.Entries().size()), std::size(kColumns), this);
  table_->setObjectName("RunReportTable");
  QStringList headings;
  for (const char* heading : kColumns) headings << QString::fromUtf8(heading);
  table_->setHorizontalHeaderLabels(headings);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->hide();
  int row = 0;
  for (const ReportEntry& e : report.Entries()) {
    const QString cells[] = {e.severity == Severity::Error ? "Errore" : "Avviso",
                             Q(e.topic), Q(e.company), Q(e.employee), Q(e.name), Q(e.field), Q(e.value),
                             Q(e.message)};
    for (int column = 0; column < static_cast<int>(std::size(cells)); ++column) {
      table_->setItem(row, column, new QTableWidgetItem(cells[column]));
    }
    ++row;
  }
  table_->setSortingEnabled(true);
  // Every message is read whole: the columns share the dialog's width, the
  // problem's column takes what is left and wraps, and the entry selected
  // is shown in full, every column of it, in the pane below.
  table_->setWordWrap(true);
  table_->setTextElideMode(Qt::ElideNone);
  table_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  table_->resizeColumnsToContents();
  for (int column = 0; column + 1 < table_->columnCount(); ++column) {
    table_->setColumnWidth(column, std::min(table_->columnWidth(column), 220));
  }
  table_->horizontalHeader()->setStretchLastSection(true);
  table_->resizeRowsToContents();
  connect(table_->horizontalHeader(), &QHeaderView::sectionResized, table_, &QTableWidget::resizeRowsToContents);

  details_ = new QPlainTextEdit(this);
  details_->setObjectName("RunReportDetails");
  details_->setReadOnly(true);
  details_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  connect(table_, &QTableWidget::currentCellChanged, this, [this](int current_row) { ShowDetails(current_row); });
  auto* splitter = new QSplitter(Qt::Vertical, this);
  splitter->addWidget(table_);
  splitter->addWidget(details_);
  splitter->setStretchFactor(0, 4);
  splitter->setStretchFactor(1, 1);
  layout->addWidget(splitter);
  if (table_->rowCount() > 0) table_->setCurrentCell(0, 0);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* copy = buttons->addButton("Copia", QDialogButtonBox::ActionRole);
  copy->setObjectName("RunReportCopy");
  connect(copy, &QPushButton::clicked, this, &RunReportDialog::CopySelected);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  auto* shortcut = new QShortcut(QKeySequence::Copy, this);
  connect(shortcut, &QShortcut::activated, this, &RunReportDialog::CopySelected);

  resize(1000, 520);
}

void RunReportDialog::ShowDetails(int row) {
  QStringList lines;
  if (row >= 0 && row < table_->rowCount()) {
    for (int c = 0; c < table_->columnCount(); ++c) {
      const QString text = table_->item(row, c)->text();
      if (!text.isEmpty()) lines << table_->horizontalHeaderItem(c)->text() + ": " + text;
    }
  }
  details_->setPlainText(lines.join('\n'));
}

QString RunReportDialog::DetailsText() const { return details_->toPlainText(); }

QString RunReportDialog::SelectedText() const {
  std::set<int> rows;
  for (const QModelIndex& index : table_->selectionModel()->selectedRows()) rows.insert(index.row());
  if (rows.empty()) {
    for (int r = 0; r < table_->rowCount(); ++r) rows.insert(r);
  }
  QStringList lines;
  QStringList cells;
  for (int c = 0; c < table_->columnCount(); ++c) cells << table_->horizontalHeaderItem(c)->text();
  lines << cells.join('\t');
  for (int r : rows) {
    cells.clear();
    for (int c = 0; c < table_->columnCount(); ++c) cells << table_->item(r, c)->text();
    lines << cells.join('\t');
  }
  return lines.join('\n') + '\n';
}

void RunReportDialog::CopySelected() const { QApplication::clipboard()->setText(SelectedText()); }

RunReportDialog* ShowRunReport(const RunReport& report, QWidget* parent, const char* title) {
  if (report.Empty()) return nullptr;
  auto* dialog = new RunReportDialog(report, parent, title);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->show();
  return dialog;
}

}  // namespace vx::app
