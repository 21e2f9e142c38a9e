// The 5-tone code grid (MSHFlexGrid1) as a Qt table model over the core's
// 5-tone dialog: its codes 0..99 as rows, its five columns as columns and its
// heading row as the horizontal header. Read-only: edits go through the
// dialog's cell editors.
#pragma once

#include <QAbstractTableModel>

#include "signalling/five_tone_dialog.h"

namespace qx {

class FiveToneCodesModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit FiveToneCodesModel(const FiveToneDialog& dialog, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The dialog's grid row (1..100) of a model index, and back.
    static int GridRow(const QModelIndex& index) { return index.row() + 1; }
    QModelIndex IndexOf(int gridRow, int column) const { return index(gridRow - 1, column); }

    // Every cell may have changed (a core operation ran).
    void Refresh();

  private:
    const FiveToneDialog& dialog_;
};

}  // namespace qx
