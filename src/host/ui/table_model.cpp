// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "host/ui/table_model.h"

#include <QAbstractItemView>
#include <QFontMetrics>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>

#include "host/ui/messages.h"

namespace vistrel::host {

TableModel::TableModel(Table& table, std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), table_(table), columns_(std::move(columns)) {
  table_.addObserver(this);
}

TableModel::~TableModel() { table_.removeObserver(this); }

int TableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QString TableModel::text(int column, int row) const {
  return rows_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return {};
  return text(index.column(), index.row());
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal) return columns_[static_cast<std::size_t>(section)].heading;
  return {};
}

Qt::ItemFlags TableModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

std::vector<std::string> TableModel::currentIdentity() {
  std::vector<std::string> values;
  if (!table_.hasRecord()) return values;
  const int n = table_.fieldCount();
  values.reserve(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) values.push_back(table_.field(i)->asText());
  return values;
}

int TableModel::findRow(const std::vector<std::string>& identity) const {
  if (identity.empty()) return -1;
  for (std::size_t r = 0; r < rows_.size(); ++r) {
    if (rows_[r].identity == identity) return static_cast<int>(r);
  }
  return -1;
}

void TableModel::setCurrent(int row) {
  if (row == current_) return;
  current_ = row;
  emit currentRowChanged(row);
}

Status TableModel::walkTo(int row) {
  table_.disableControls();
  Status s = table_.first();
  for (int i = 0; s.ok() && i < row && !table_.eof(); ++i) s = table_.next();
  table_.enableControls();
  return s;
}

Status TableModel::reload() {
  std::vector<Row> rows;
  Status s;
  int back = -1;
  if (table_.isOpen()) {
    moving_ = true;
    const std::vector<std::string> here = currentIdentity();
    table_.disableControls();
    s = table_.first();
    while (s.ok() && !table_.eof()) {
      Row row;
      for (const Column& c : columns_) {
        const Field* f = table_.fieldByName(c.field);
        row.cells.push_back(f != nullptr ? QString::fromStdString(f->asText()) : QString());
      }
      row.identity = currentIdentity();
      if (row.identity == here) back = static_cast<int>(rows.size());
      rows.push_back(std::move(row));
      s = table_.next();
    }
    table_.enableControls();
    if (s.ok() && back != 0) s = walkTo(back < 0 ? 0 : back);
    moving_ = false;
  }
  beginResetModel();
  rows_ = std::move(rows);
  current_ = rows_.empty() ? -1 : (back < 0 ? 0 : back);
  endResetModel();
  emit currentRowChanged(current_);
  return s;
}

Status TableModel::moveTo(int row) {
  if (row < 0 || row >= rowCount()) return Status::InvalidArgument("no row " + std::to_string(row) + " in the grid");
  moving_ = true;
  Status s = walkTo(row);
  moving_ = false;
  if (!s.ok()) return s;
  // The table may have changed under the grid; then the walk lands elsewhere.
  if (findRow(currentIdentity()) != row) return reload();
  setCurrent(row);
  return Status::OK();
}

void TableModel::tableChanged(Table&) {
  if (moving_) return;
  if (table_.state() == TableState::kEdit || table_.state() == TableState::kInsert) return;
  if (!table_.hasRecord()) {
    setCurrent(-1);
    return;
  }
  const int row = findRow(currentIdentity());
  if (row < 0) {
    reload();
  } else {
    setCurrent(row);
  }
}

void bindTableView(QTableView* view, TableModel* model) {
  view->setModel(model);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->verticalHeader()->hide();
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
  view->horizontalHeader()->setHighlightSections(false);
  const int charWidth = view->fontMetrics().averageCharWidth();
  for (int c = 0; c < model->columnCount(); ++c) {
    view->setColumnWidth(c, model->column(c).displayWidth * charWidth + 8);
  }
  auto select = [view, model](int row) {
    QItemSelectionModel* sm = view->selectionModel();
    if (row < 0) {
      sm->clearSelection();
      return;
    }
    const QModelIndex index = model->index(row, 0);
    if (sm->currentIndex().row() != row || !sm->isRowSelected(row, {})) {
      sm->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    view->scrollTo(index);
  };
  QObject::connect(model, &TableModel::currentRowChanged, view, select);
  QObject::connect(view->selectionModel(), &QItemSelectionModel::currentRowChanged, model,
                   [model](const QModelIndex& current, const QModelIndex&) {
                     if (!current.isValid() || current.row() == model->currentRow()) return;
                     if (const Status s = model->moveTo(current.row()); !s.ok()) ShowError(s.message());
                   });
  // A move the model refuses from inside the grid's own handling (it moves
  // the table back) is followed by the grid selecting the row it was sent
  // to: the highlight then names a record the table does not stand on.
  // While the grid's current row is the model's, the highlight is too.
  QObject::connect(view->selectionModel(), &QItemSelectionModel::selectionChanged, model, [view, model, select] {
    const int row = model->currentRow();
    const QItemSelectionModel* sm = view->selectionModel();
    if (row >= 0 && sm->currentIndex().row() == row && !sm->isRowSelected(row, {})) select(row);
  });
  // A reset replaces the selection model's rows: select the current one again.
  QObject::connect(model, &QAbstractItemModel::modelReset, view, [select, model] { select(model->currentRow()); });
  select(model->currentRow());
}

}  // namespace vistrel::host
