#pragma once
// The run report after a run's own messages: every entry in a table the
// operator can sort by any column and copy from (Ctrl+C or "Copia", as
// tab-separated rows a spreadsheet takes), below a line saying how many
// employees of each company were checked, and above a pane that shows the
// selected entry whole.

#include <QDialog>

#include "app/run_report.h"

class QPlainTextEdit;
class QTableWidget;

namespace vx::app {

class RunReportDialog : public QDialog {
  Q_OBJECT

 public:
  explicit RunReportDialog(const RunReport& report, QWidget* parent = nullptr,
                           const char* title = "Rapporto della stampa");

  // The selected rows as the table shows them (every row when none is
  // selected), headings first, cells separated by tabs, one line each.
  QString SelectedText() const;
  // Puts SelectedText() on the clipboard.
  void CopySelected() const;
  // What the pane below the table shows: the current entry, one column a
  // line, whole.
  QString DetailsText() const;

 private:
  void ShowDetails(int row);

  QTableWidget* table_;
  QPlainTextEdit* details_;
};

// Shows the report under `title` without waiting for it to be closed; shows
// nothing when the report is empty. The dialog belongs to `parent` and
// deletes itself when closed.
RunReportDialog* ShowRunReport(const RunReport& report, QWidget* parent, const char* title = "Rapporto della stampa");

}  // namespace vx::app
