// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>

#include <vector>

namespace vistrel::widgets {

// How a column compares its cells when the grid sorts by it: as text (a-z
// folded to upper case, then by character code, the order of the tally's
// value list) or as numbers (cells that are no number come first).
enum class SortFormat { kText, kNumeric };

// The cells of a SortableGrid: one heading per column and the data rows,
// held column by column. Sorting moves whole rows and is stable.
class SortableGridModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit SortableGridModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  // Sorts by `column`; a column below 0 leaves the order as it is.
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

  void setDataRowCount(int rows);
  void setColumns(int columns);
  QString heading(int column) const { return headings_[column]; }
  void setHeading(int column, const QString& text);
  const QString& text(int column, int dataRow) const { return columns_[column][dataRow]; }
  void setText(int column, int dataRow, const QString& text);
  // Replaces the cells of `column` from data row `firstDataRow` on.
  void setTexts(int column, int firstDataRow, const QStringList& texts);
  SortFormat format(int column) const { return formats_[column]; }
  void setFormat(int column, SortFormat format) { formats_[column] = format; }

 private:
  std::vector<int> sortedRows(int column, Qt::SortOrder order) const;

  QStringList headings_;
  std::vector<std::vector<QString>> columns_;  // columns_[column][data row]
  std::vector<SortFormat> formats_;
  int rows_ = 0;
};

// A read-only grid of text cells with one heading row, addressed like a
// string grid: cell(column, row), row 0 being the heading. Clicking a heading
// sorts the rows by that column (again: the other way round) and shows the
// sort indicator; setSortFormat() makes a column sort as numbers. The cells
// live in a model, not in widgets, so tens of thousands of rows stay fast.
class SortableGrid : public QTableView {
  Q_OBJECT

 public:
  explicit SortableGrid(QWidget* parent = nullptr);

  int columnCount() const;
  void setColumnCount(int columns);
  // The number of rows including the heading row; at least 1.
  int rowCount() const;
  void setRowCount(int rows);

  // REQUIRES: 0 <= column < columnCount(), 0 <= row < rowCount().
  QString cell(int column, int row) const;
  void setCell(int column, int row, const QString& text);
  // Fills `column` from row 1 on with `texts`, adding rows when needed;
  // much cheaper than one setCell() per row.
  void setColumnTexts(int column, const QStringList& texts);

  // The format of a column's sort; kText unless set.
  SortFormat sortFormat(int column) const;
  void setSortFormat(int column, SortFormat format);

  // Sorts the data rows by `column` and shows the indicator on its heading.
  void sortRows(int column, Qt::SortOrder order);
  // Whether clicking a heading sorts (on by default). A window counting into
  // the grid turns it off so rows keep their places meanwhile.
  void setSortable(bool sortable);

  SortableGridModel* gridModel() const { return model_; }

 private:
  SortableGridModel* model_;
};

}  // namespace vistrel::widgets
