#pragma once
// The strip under the window's controls that asks for the bank transfer
// files: which kind of file (none, CBI or SEPA) and the execution date,
// and at its end "Esiti banca...", which reads the bank's answers to them.
// Kind and date are remembered from one start of the program to the next, like the
// printer an operator expects to stay put.

#include <QWidget>

#include "app/transfer_files.h"

class QComboBox;
class QDateEdit;
class QPushButton;

namespace vx::app {

class TransferStrip : public QWidget {
  Q_OBJECT

 public:
  // `today` dates the default: the next business day after it.
  explicit TransferStrip(QDate today, QWidget* parent = nullptr);

  // The choice as a run takes it.
  TransferChoice Choice() const;

 signals:
  // "Esiti banca..." was pressed.
  void bankReportsRequested();

 private:
  void Remember() const;

  QComboBox* ComboBonifici = nullptr;
  QDateEdit* DataEsecuzione = nullptr;
  QPushButton* CmdEsitiBanca = nullptr;
};

}  // namespace vx::app
