// The channel grid's cells as a Qt table model over the document: grid rows
// 1..104 and columns 1..16, with row 0 as the column headings and column 0 as
// the row labels. Every text is made from the codeplug by the core's
// CellText; read-only: edits go through the core's cell editors.
#pragma once

#include <QAbstractTableModel>

#include "app/document.h"

namespace qx {

class ChannelGridModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit ChannelGridModel(Document& doc, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The grid row and column (1-based) of a model index, and back.
    static int GridRow(const QModelIndex& index) { return index.row() + 1; }
    static int GridColumn(const QModelIndex& index) { return index.column() + 1; }
    QModelIndex IndexOf(int row, int column) const { return index(row - 1, column - 1); }

    // Every cell may have changed (a core operation ran).
    void Refresh();
    // The headings changed too (a language change): the views start over.
    void ResetAll();

  private:
    Document& doc_;
};

}  // namespace qx
