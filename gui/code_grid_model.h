// A code grid of a signalling dialog (the 2-tone and the 5-tone code tables)
// as a Qt table model: the dialog's grid rows 1.. as rows, its row 0 as the
// horizontal header. Read-only: edits go through the dialog's cell editors.
#pragma once

#include <QAbstractTableModel>
#include <functional>
#include <string>

namespace qx {

class CodeGridModel final : public QAbstractTableModel {
    Q_OBJECT
  public:
    // The dialog's text of grid row `row` (0 = headings), column `column`.
    using CellText = std::function<std::string(int row, int column)>;

    // `codes` rows below the heading row; the first `centeredColumns` columns
    // are centred.
    CodeGridModel(int codes, int columns, CellText cell, int centeredColumns,
                  QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The dialog's grid row (1..) of a model index, and the index of a grid cell.
    static int GridRow(const QModelIndex& index) { return index.row() + 1; }
    QModelIndex IndexOf(int gridRow, int column) const { return index(gridRow - 1, column); }

    // A core operation ran: every cell may have changed.
    void Refresh();

  private:
    int codes_;
    int columns_;
    CellText cell_;
    int centeredColumns_;
};

}  // namespace qx
