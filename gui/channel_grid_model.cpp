#include "channel_grid_model.h"

#include "channels/cell_editors.h"
#include "platform_info.h"

namespace qx {

ChannelGridModel::ChannelGridModel(Document& doc, QObject* parent)
    : QAbstractTableModel(parent), doc_(doc) {}

int ChannelGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kRowCount;
}

int ChannelGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColOptSignal;
}

QVariant ChannelGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    return ToQString(CellText(doc_, GridRow(index), GridColumn(index)));
}

QVariant ChannelGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || section < 0) return {};
    if (orientation == Qt::Horizontal) {
        if (section >= kColOptSignal) return {};
        return ToQString(doc_.texts.headings[static_cast<std::size_t>(section + 1)]);
    }
    if (section >= kRowCount) return {};
    return ToQString(CellText(doc_, section + 1, kColLabel));
}

Qt::ItemFlags ChannelGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void ChannelGridModel::Refresh() {
    emit dataChanged(index(0, 0), index(kRowCount - 1, kColOptSignal - 1), {Qt::DisplayRole});
}

void ChannelGridModel::ResetAll() {
    beginResetModel();
    endResetModel();
}

}  // namespace qx
