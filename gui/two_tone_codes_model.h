// The 2-tone code table of the 2-tone dialog as a Qt table model: one row per
// code (0..99), columns number, tone 1, tone 2, headings from the dialog's
// row 0. Read-only: edits go through the core dialog's cell editor.
#pragma once

#include <QAbstractTableModel>

#include "signalling/two_tone_dialog.h"

namespace qx {

class TwoToneCodesModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    // `dialog` must outlive the model.
    explicit TwoToneCodesModel(const TwoToneDialog& dialog, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The dialog's grid row (1..100) and column (0..2) of a model index, and back.
    static int GridRow(const QModelIndex& index) { return index.row() + 1; }
    static int GridColumn(const QModelIndex& index) { return index.column(); }
    QModelIndex IndexOf(GridCell cell) const { return index(cell.row - 1, cell.column); }

    // A core operation ran: every cell may have changed.
    void Refresh();

  private:
    const TwoToneDialog& dialog_;
};

}  // namespace qx
