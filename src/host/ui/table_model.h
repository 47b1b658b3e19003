// SPDX-FileCopyrightText: 2026 Vistrel developers
// SPDX-License-Identifier: MIT
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <string>
#include <vector>

#include "host/status.h"
#include "host/table.h"

class QTableView;

namespace vistrel::host {

// A read-only Qt model over a small table, for grids bound to it. The rows
// are read once and kept as text; the model follows the table's current
// record (TableObserver) and reads the rows again when the table stands on a
// record it has not seen. moveTo() makes a row the table's current record,
// so other views of the table follow the grid.
//
// The table must outlive the model; it may be closed and opened again
// (reload() then reads it anew). Every record is read on reload, so the
// model suits tables of a few hundred rows, not the contacts.
class TableModel : public QAbstractTableModel, private TableObserver {
  Q_OBJECT

 public:
  struct Column {
    std::string field;     // the table's field name (any case)
    QString heading;
    int displayWidth = 0;  // in characters
  };

  TableModel(Table& table, std::vector<Column> columns, QObject* parent = nullptr);
  ~TableModel() override;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Reads every record again and keeps the table on the record it stood on.
  Status reload();
  // The row of the table's current record; -1 when it stands on none.
  int currentRow() const { return current_; }
  // Makes the record of `row` the table's current record.
  Status moveTo(int row);

  const Column& column(int c) const { return columns_[static_cast<std::size_t>(c)]; }
  QString text(int column, int row) const;

 signals:
  // The table moved to another record (by whoever moved it).
  void currentRowChanged(int row);

 private:
  struct Row {
    std::vector<QString> cells;          // one per column
    std::vector<std::string> identity;   // every field of the record
  };

  void tableChanged(Table& table) override;
  std::vector<std::string> currentIdentity();
  int findRow(const std::vector<std::string>& identity) const;
  // Walks from the first record to the row-th one, telling observers once.
  Status walkTo(int row);
  void setCurrent(int row);

  Table& table_;
  std::vector<Column> columns_;
  std::vector<Row> rows_;
  int current_ = -1;
  bool moving_ = false;
};

// Binds a grid to a model: whole-row single selection, read-only, column
// widths from the columns' display widths, the selected row following the
// table and a row picked in the grid moving the table. A failed move is
// shown with ShowError.
void bindTableView(QTableView* view, TableModel* model);

}  // namespace vistrel::host
