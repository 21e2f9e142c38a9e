#include "five_tone_codes_model.h"

#include "platform_info.h"

namespace qx {

FiveToneCodesModel::FiveToneCodesModel(const FiveToneDialog& dialog, QObject* parent)
    : QAbstractTableModel(parent), dialog_(dialog) {}

int FiveToneCodesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFiveToneGridRows - 1;
}

int FiveToneCodesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFiveToneGridColumns;
}

QVariant FiveToneCodesModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    if (role == Qt::DisplayRole) return ToQString(dialog_.Cell(GridRow(index), index.column()));
    // The code numbers read like the grid's fixed column.
    if (role == Qt::TextAlignmentRole && index.column() == 0) {
        return QVariant::fromValue(Qt::AlignCenter);
    }
    return {};
}

QVariant FiveToneCodesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= kFiveToneGridColumns) {
        return {};
    }
    return ToQString(dialog_.Cell(0, section));
}

Qt::ItemFlags FiveToneCodesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void FiveToneCodesModel::Refresh() {
    emit dataChanged(index(0, 0), index(rowCount() - 1, kFiveToneGridColumns - 1),
                     {Qt::DisplayRole});
}

}  // namespace qx
