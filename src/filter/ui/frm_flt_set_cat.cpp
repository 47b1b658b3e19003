// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "filter/ui/frm_flt_set_cat.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTableWidget>

#include "host/ui/messages.h"
#include "widgets/form_helpers.h"

namespace vistrel::filter {
namespace {

using widgets::qtText;
using widgets::namedButton;

constexpr int kWidth = 420;
constexpr int kMargin = 8;
constexpr int kGridRows = 6;
constexpr int kRowHeight = 20;

}  // namespace

Tfrmfltsetcat::Tfrmfltsetcat(const QString& answer, const CategoryNames& names, QWidget* parent)
    : QDialog(parent), selection_(answer.toStdString()) {
  setObjectName(QStringLiteral("frmfltsetcat"));
  setWindowTitle(QStringLiteral("Category selection"));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  buildAnswerRow();
  buildDefinitionsBox(names);
  buildExamplesBox();
  answer_->setText(answer);
  answerChange(answer);
  resizeToShow(definitions_);
}

void Tfrmfltsetcat::buildAnswerRow() {
  answer_ = new QLineEdit(this);
  answer_->setObjectName(QStringLiteral("answer"));
  answer_->setToolTip(QStringLiteral("Category (A and B or C)"));
  answer_->setPlaceholderText(answer_->toolTip());
  answer_->setGeometry(kMargin, kMargin, 300, 24);
  ok_ = namedButton(QStringLiteral("&OK"), QStringLiteral("OKBtn"), {324, kMargin, 88, 25}, this);
  ok_->setDefault(true);
  auto* cancel = namedButton(QStringLiteral("&Cancel"), QStringLiteral("CancelBtn"), {324, 38, 88, 25}, this);
  auto* examples = namedButton(QStringLiteral("&Examples"), QStringLiteral("btExamples"), {324, 68, 88, 25}, this);
  connect(answer_, &QLineEdit::textChanged, this, &Tfrmfltsetcat::answerChange);
  connect(ok_, &QPushButton::clicked, this, &Tfrmfltsetcat::OKBtnClick);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(examples, &QPushButton::clicked, this, &Tfrmfltsetcat::btExamplesClick);
}

void Tfrmfltsetcat::buildDefinitionsBox(const CategoryNames& names) {
  definitions_ = new QGroupBox(QStringLiteral("Category Definitions"), this);
  definitions_->setObjectName(QStringLiteral("gbDefinitions"));
  definitions_->setGeometry(kMargin, 100, kWidth - 2 * kMargin, 196);
  catlist_ = new QListWidget(definitions_);
  catlist_->setObjectName(QStringLiteral("catlist"));
  catlist_->setGeometry(8, 20, kWidth - 2 * kMargin - 16, 140);
  catlist_->setFlow(QListView::TopToBottom);
  catlist_->setWrapping(true);
  catlist_->setResizeMode(QListView::Adjust);
  catlist_->setGridSize(QSize((kWidth - 2 * kMargin - 24) / 2, 17));
  for (const std::string& item : categoryListItems(names)) catlist_->addItem(qtText(item));
  auto* hint = new QLabel(QStringLiteral("Double click : "), definitions_);
  hint->setGeometry(8, 168, 90, 20);
  rbAnd_ = new QRadioButton(QStringLiteral("AND"), definitions_);
  rbAnd_->setObjectName(QStringLiteral("rbAnd"));
  rbAnd_->setGeometry(100, 168, 60, 20);
  rbAnd_->setChecked(true);
  rbOr_ = new QRadioButton(QStringLiteral("OR"), definitions_);
  rbOr_->setObjectName(QStringLiteral("rbOr"));
  rbOr_->setGeometry(170, 168, 60, 20);
  connect(catlist_, &QListWidget::itemDoubleClicked, this, &Tfrmfltsetcat::catlistDblClick);
}

void Tfrmfltsetcat::buildExamplesBox() {
  examples_ = new QGroupBox(QStringLiteral("Examples"), this);
  examples_->setObjectName(QStringLiteral("gbExamples"));
  const int gridTop = 20 + 6 * kRowHeight + 6;
  const int gridHeight = kGridRows * kRowHeight + 4;
  examples_->setGeometry(kMargin, 304, kWidth - 2 * kMargin, gridTop + gridHeight + 10);
  for (std::size_t i = 0; i < exampleButtons_.size(); ++i) {
    auto* rb = new QRadioButton(qtText(categoryExamples()[i].button), examples_);
    rb->setObjectName(QStringLiteral("rbExample%1").arg(i + 1));
    rb->setGeometry(8, 20 + static_cast<int>(i) * kRowHeight, kWidth - 2 * kMargin - 16, kRowHeight);
    connect(rb, &QRadioButton::toggled, this, [this, i](bool on) {
      if (on) showExample(static_cast<int>(i));
    });
    exampleButtons_[i] = rb;
  }
  exampleGrid_ = new QTableWidget(kGridRows, 2, examples_);
  exampleGrid_->setObjectName(QStringLiteral("exampleGrid"));
  exampleGrid_->horizontalHeader()->hide();
  exampleGrid_->verticalHeader()->hide();
  exampleGrid_->setColumnWidth(0, 84);
  exampleGrid_->setColumnWidth(1, 281);
  for (int r = 0; r < kGridRows; ++r) exampleGrid_->setRowHeight(r, kRowHeight);
  exampleGrid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  const int frame = 2 * exampleGrid_->frameWidth();
  exampleGrid_->setGeometry(8, gridTop, 84 + 281 + frame, kGridRows * kRowHeight + frame);
  exampleGrid_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  exampleGrid_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  clearExampleGrid();
  examples_->hide();
}

bool Tfrmfltsetcat::examplesShown() const { return !examples_->isHidden(); }

void Tfrmfltsetcat::catlistDblClick() {
  const QListWidgetItem* item = catlist_->currentItem();
  if (item == nullptr) return;
  selection_.setAnswer(answer_->text().toStdString());
  selection_.addItem(item->text().toStdString(), rbOr_->isChecked());
  answer_->setText(qtText(selection_.answer()));
}

void Tfrmfltsetcat::answerChange(const QString& text) {
  selection_.setAnswer(text.toStdString());
  ok_->setEnabled(selection_.okEnabled());
}

void Tfrmfltsetcat::OKBtnClick() {
  selection_.setAnswer(answer_->text().toStdString());
  const CategorySelection::Outcome outcome = selection_.accept();
  if (!outcome.accepted) {
    host::ShowError(outcome.text);
    return;
  }
  result_ = qtText(outcome.text);
  accept();
}

void Tfrmfltsetcat::btExamplesClick() {
  if (examples_->isHidden()) {
    examples_->show();
    resizeToShow(examples_);
    exampleButtons_[0]->setChecked(true);
    showExample(0);
  } else {
    examples_->hide();
    resizeToShow(definitions_);
  }
  const QScreen* screen = this->screen();
  if (screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  const QRect frame = frameGeometry();
  if (frame.bottom() > available.bottom()) move(x(), available.bottom() - 10 - frame.height());
}

void Tfrmfltsetcat::clearExampleGrid() {
  exampleGrid_->clearContents();
  exampleGrid_->setItem(0, 0, new QTableWidgetItem(QStringLiteral("Example")));
  exampleGrid_->setItem(0, 1, new QTableWidgetItem(QStringLiteral("Description")));
}

void Tfrmfltsetcat::showExample(int index) {
  clearExampleGrid();
  const auto& rows = categoryExamples()[static_cast<std::size_t>(index)].rows;
  for (std::size_t r = 0; r < rows.size(); ++r) {
    exampleGrid_->setItem(static_cast<int>(r) + 1, 0, new QTableWidgetItem(qtText(rows[r].first)));
    exampleGrid_->setItem(static_cast<int>(r) + 1, 1, new QTableWidgetItem(qtText(rows[r].second)));
  }
}

void Tfrmfltsetcat::resizeToShow(const QGroupBox* lastGroup) {
  setFixedSize(kWidth, lastGroup->geometry().bottom() + 1 + kMargin);
}

}  // namespace vistrel::filter
