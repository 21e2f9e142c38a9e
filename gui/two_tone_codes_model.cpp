#include "two_tone_codes_model.h"

#include "platform_info.h"

namespace qx {

TwoToneCodesModel::TwoToneCodesModel(const TwoToneDialog& dialog, QObject* parent)
    : QAbstractTableModel(parent), dialog_(dialog) {}

int TwoToneCodesModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kTwoToneCodeCount;
}

int TwoToneCodesModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kTwoToneGridColumns;
}

QVariant TwoToneCodesModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    return ToQString(dialog_.GridText(GridRow(index), GridColumn(index)));
}

QVariant TwoToneCodesModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= kTwoToneGridColumns) {
        return {};
    }
    return ToQString(dialog_.GridText(0, section));
}

Qt::ItemFlags TwoToneCodesModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void TwoToneCodesModel::Refresh() {
    emit dataChanged(index(0, 0), index(kTwoToneCodeCount - 1, kTwoToneGridColumns - 1),
                     {Qt::DisplayRole});
}

}  // namespace qx
