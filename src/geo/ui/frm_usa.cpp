// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "geo/ui/frm_usa.h"

#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>

#include "host/globals.h"
#include "widgets/sortable_grid.h"

namespace vistrel::geo {

TFrmUSA::TFrmUSA(host::Table& contacts, QWidget* parent) : QDialog(parent), contacts_(contacts) {
  setWindowTitle("Vistrel Professional");
  auto* layout = new QVBoxLayout(this);
  title_ = new QLabel(this);
  title_->setObjectName("LblTitle");
  grid_ = new widgets::SortableGrid(this);
  grid_->setObjectName("StringGrid1");
  grid_->setColumnCount(2);
  grid_->setCell(1, 0, "#");
  unique_ = new QLabel("Unique Values", this);
  unique_->setObjectName("LblUnique");
  others_button_ = new QPushButton("&Others", this);
  others_button_->setObjectName("BtnOthers");
  auto* exit = new QPushButton("E&xit", this);
  exit->setObjectName("BtnExit");
  connect(exit, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(title_);
  layout->addWidget(grid_);
  layout->addWidget(unique_);
  layout->addWidget(others_button_);
  layout->addWidget(exit);
}

TFrmUSA::~TFrmUSA() { host::OpenResultWindow = true; }

void TFrmUSA::setAnalysis(Analysis kind) {
  analysis_ = kind;
  const AnalysisInfo& info = analysisInfo(kind);
  title_->setText(QString::fromUtf8(info.title.data(), static_cast<int>(info.title.size())));
  grid_->setCell(0, 0, QString::fromUtf8(info.heading.data(), static_cast<int>(info.heading.size())));
  helpContext_ = info.helpContext;
  others_button_->setVisible(kind == Analysis::kZipCode);
}

void TFrmUSA::setValues(const std::vector<std::string>& values) {
  grid_->setRowCount(static_cast<int>(values.size()) + 1);
  QStringList texts;
  texts.reserve(static_cast<int>(values.size()));
  for (const std::string& v : values) texts << QString::fromStdString(v);
  grid_->setColumnTexts(0, texts);
  unique_->setText(QString("%1 Unique Values").arg(values.size()));
}

void TFrmUSA::setOthers(const std::vector<std::string>& others) {
  others_ = others;
  others_button_->setText(QString("Others (%1)").arg(others.size()));
  others_button_->setEnabled(!others.empty());
}

}  // namespace vistrel::geo
