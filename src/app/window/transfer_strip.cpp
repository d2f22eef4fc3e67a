#include "app/window/transfer_strip.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSettings>

#include <algorithm>

namespace vx::app {

namespace {

constexpr const char* kKindKey = "bonifici/tipo";
constexpr const char* kDateKey = "bonifici/data_esecuzione";

QDate ToQDate(vx::transfer::Date d) {
  return QDate(static_cast<int>(d.year()), static_cast<int>(static_cast<unsigned>(d.month())),
               static_cast<int>(static_cast<unsigned>(d.day())));
}

vx::transfer::Date FromQDate(QDate d) {
  return vx::transfer::Date{std::chrono::year{d.year()}, std::chrono::month{static_cast<unsigned>(d.month())},
                            std::chrono::day{static_cast<unsigned>(d.day())}};
}

}  // namespace

TransferStrip::TransferStrip(QDate today, QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("FrameBonifici"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(new QLabel(QStringLiteral(" File dei bonifici per la banca:"), this));
  ComboBonifici = new QComboBox(this);
  ComboBonifici->setObjectName(QStringLiteral("ComboBonifici"));
  ComboBonifici->addItems({QStringLiteral("Nessuno"), QStringLiteral("CBI"), QStringLiteral("SEPA")});
  layout->addWidget(ComboBonifici);
  layout->addSpacing(12);
  layout->addWidget(new QLabel(QStringLiteral("Data di esecuzione:"), this));
  DataEsecuzione = new QDateEdit(this);
  DataEsecuzione->setObjectName(QStringLiteral("DataEsecuzione"));
  DataEsecuzione->setCalendarPopup(true);
  DataEsecuzione->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
  layout->addWidget(DataEsecuzione);
  layout->addStretch(1);
  CmdEsitiBanca = new QPushButton(QStringLiteral("Esiti banca\u2026"), this);
  CmdEsitiBanca->setObjectName(QStringLiteral("CmdEsitiBanca"));
  CmdEsitiBanca->setToolTip(QStringLiteral("Legge gli esiti della banca (file XML) e li registra"));
  layout->addWidget(CmdEsitiBanca);
  connect(CmdEsitiBanca, &QPushButton::clicked, this, &TransferStrip::bankReportsRequested);

  // A remembered date that has gone by gives way to the next business day.
  const QSettings settings(QStringLiteral("vxorel"), QStringLiteral("vxorel"));
  const QDate next = ToQDate(vx::transfer::NextBusinessDay(FromQDate(today)));
  const QDate kept = settings.value(kDateKey).toDate();
  DataEsecuzione->setDate(kept.isValid() && kept > today ? kept : next);
  ComboBonifici->setCurrentIndex(std::clamp(settings.value(kKindKey, 0).toInt(), 0, 2));
  DataEsecuzione->setEnabled(ComboBonifici->currentIndex() != 0);

  connect(ComboBonifici, &QComboBox::currentIndexChanged, this, [this](int index) {
    DataEsecuzione->setEnabled(index != 0);
    Remember();
  });
  connect(DataEsecuzione, &QDateEdit::dateChanged, this, [this] { Remember(); });
}

TransferChoice TransferStrip::Choice() const {
  TransferChoice choice;
  if (ComboBonifici->currentIndex() == 1) choice.kind = vx::transfer::TransferKind::Cbi;
  if (ComboBonifici->currentIndex() == 2) choice.kind = vx::transfer::TransferKind::Sepa;
  if (choice.kind) choice.execution_date = FromQDate(DataEsecuzione->date());
  return choice;
}

void TransferStrip::Remember() const {
  QSettings settings(QStringLiteral("vxorel"), QStringLiteral("vxorel"));
  settings.setValue(kKindKey, ComboBonifici->currentIndex());
  settings.setValue(kDateKey, DataEsecuzione->date());
}

}  // namespace vx::app
