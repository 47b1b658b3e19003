// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#include "widgets/sortable_grid.h"

#include <QHeaderView>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <optional>

namespace vistrel::widgets {
namespace {

// The text with a-z folded to A-Z, as UTF-8 bytes: comparing these bytes
// gives the order of host::compareIgnoreCase.
QByteArray foldedKey(const QString& text) {
  QByteArray bytes = text.toUtf8();
  for (char& c : bytes) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - ('a' - 'A'));
  }
  return bytes;
}

std::optional<double> numberOf(const QString& text) {
  bool ok = false;
  const double value = text.trimmed().toDouble(&ok);
  if (!ok || std::isnan(value)) return std::nullopt;
  return value;
}

}  // namespace

SortableGridModel::SortableGridModel(QObject* parent) : QAbstractTableModel(parent) {}

int SortableGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int SortableGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant SortableGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return QVariant();
  if (role == Qt::DisplayRole) return columns_[index.column()][index.row()];
  if (role == Qt::TextAlignmentRole && formats_[index.column()] == SortFormat::kNumeric) {
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  }
  return QVariant();
}

QVariant SortableGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= headings_.size()) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  if (role == Qt::DisplayRole) return headings_[section];
  if (role == Qt::InitialSortOrderRole) return int(Qt::AscendingOrder);
  return QVariant();
}

void SortableGridModel::setDataRowCount(int rows) {
  rows = std::max(rows, 0);
  if (rows > rows_) {
    beginInsertRows(QModelIndex(), rows_, rows - 1);
    for (auto& column : columns_) column.resize(static_cast<std::size_t>(rows));
    rows_ = rows;
    endInsertRows();
  } else if (rows < rows_) {
    beginRemoveRows(QModelIndex(), rows, rows_ - 1);
    for (auto& column : columns_) column.resize(static_cast<std::size_t>(rows));
    rows_ = rows;
    endRemoveRows();
  }
}

void SortableGridModel::setColumns(int columns) {
  const int now = columnCount();
  columns = std::max(columns, 0);
  if (columns > now) {
    beginInsertColumns(QModelIndex(), now, columns - 1);
    columns_.resize(columns, std::vector<QString>(static_cast<std::size_t>(rows_)));
    formats_.resize(columns, SortFormat::kText);
    while (headings_.size() < columns) headings_.append(QString());
    endInsertColumns();
  } else if (columns < now) {
    beginRemoveColumns(QModelIndex(), columns, now - 1);
    columns_.resize(columns);
    formats_.resize(columns);
    headings_.resize(columns);
    endRemoveColumns();
  }
}

void SortableGridModel::setHeading(int column, const QString& text) {
  headings_[column] = text;
  emit headerDataChanged(Qt::Horizontal, column, column);
}

void SortableGridModel::setText(int column, int dataRow, const QString& text) {
  columns_[column][dataRow] = text;
  const QModelIndex i = index(dataRow, column);
  emit dataChanged(i, i, {Qt::DisplayRole});
}

void SortableGridModel::setTexts(int column, int firstDataRow, const QStringList& texts) {
  if (texts.isEmpty()) return;
  const int last = firstDataRow + static_cast<int>(texts.size()) - 1;
  if (last >= rows_) setDataRowCount(last + 1);
  std::copy(texts.begin(), texts.end(), columns_[column].begin() + firstDataRow);
  emit dataChanged(index(firstDataRow, column), index(last, column), {Qt::DisplayRole});
}

std::vector<int> SortableGridModel::sortedRows(int column, Qt::SortOrder order) const {
  std::vector<int> rows(static_cast<std::size_t>(rows_));
  std::iota(rows.begin(), rows.end(), 0);
  const auto& cells = columns_[column];
  const bool descending = order == Qt::DescendingOrder;
  if (formats_[column] == SortFormat::kNumeric) {
    std::vector<std::optional<double>> keys(cells.size());
    std::transform(cells.begin(), cells.end(), keys.begin(), numberOf);
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
      return descending ? keys[b] < keys[a] : keys[a] < keys[b];  // none before any number
    });
  } else {
    std::vector<QByteArray> keys(cells.size());
    std::transform(cells.begin(), cells.end(), keys.begin(), foldedKey);
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
      return descending ? keys[b] < keys[a] : keys[a] < keys[b];
    });
  }
  return rows;
}

void SortableGridModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= columnCount() || rows_ < 2) return;
  const std::vector<int> oldRowAt = sortedRows(column, order);  // new row -> old row

  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  for (auto& cells : columns_) {
    std::vector<QString> moved(cells.size());
    for (std::size_t r = 0; r < oldRowAt.size(); ++r) moved[r] = std::move(cells[oldRowAt[r]]);
    cells.swap(moved);
  }
  std::vector<int> newRowOf(oldRowAt.size());
  for (std::size_t r = 0; r < oldRowAt.size(); ++r) newRowOf[oldRowAt[r]] = static_cast<int>(r);
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& i : before) after.append(index(newRowOf[i.row()], i.column()));
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

SortableGrid::SortableGrid(QWidget* parent) : QTableView(parent), model_(new SortableGridModel(this)) {
  setModel(model_);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setWordWrap(false);
  verticalHeader()->hide();
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);  // no sort until a click
  horizontalHeader()->setSortIndicatorShown(true);
  setSortingEnabled(true);
  setColumnCount(2);
}

int SortableGrid::columnCount() const { return model_->columnCount(); }

void SortableGrid::setColumnCount(int columns) { model_->setColumns(columns); }

int SortableGrid::rowCount() const { return model_->rowCount() + 1; }

void SortableGrid::setRowCount(int rows) { model_->setDataRowCount(rows - 1); }

QString SortableGrid::cell(int column, int row) const {
  return row == 0 ? model_->heading(column) : model_->text(column, row - 1);
}

void SortableGrid::setCell(int column, int row, const QString& text) {
  if (row == 0) {
    model_->setHeading(column, text);
  } else {
    model_->setText(column, row - 1, text);
  }
}

void SortableGrid::setColumnTexts(int column, const QStringList& texts) { model_->setTexts(column, 0, texts); }

SortFormat SortableGrid::sortFormat(int column) const { return model_->format(column); }

void SortableGrid::setSortFormat(int column, SortFormat format) { model_->setFormat(column, format); }

void SortableGrid::sortRows(int column, Qt::SortOrder order) { sortByColumn(column, order); }

void SortableGrid::setSortable(bool sortable) {
  horizontalHeader()->setSectionsClickable(sortable);
}

}  // namespace vistrel::widgets
