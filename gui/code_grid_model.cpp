#include "code_grid_model.h"

#include <utility>

#include "platform_info.h"

namespace qx {

CodeGridModel::CodeGridModel(int codes, int columns, CellText cell, int centeredColumns,
                             QObject* parent)
    : QAbstractTableModel(parent),
      codes_(codes),
      columns_(columns),
      cell_(std::move(cell)),
      centeredColumns_(centeredColumns) {}

int CodeGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : codes_;
}

int CodeGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : columns_;
}

QVariant CodeGridModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) return {};
    if (role == Qt::DisplayRole) return ToQString(cell_(GridRow(index), index.column()));
    if (role == Qt::TextAlignmentRole && index.column() < centeredColumns_) {
        return QVariant::fromValue(Qt::AlignCenter);
    }
    return {};
}

QVariant CodeGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columns_) {
        return {};
    }
    return ToQString(cell_(0, section));
}

Qt::ItemFlags CodeGridModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void CodeGridModel::Refresh() {
    emit dataChanged(index(0, 0), index(codes_ - 1, columns_ - 1), {Qt::DisplayRole});
}

}  // namespace qx
