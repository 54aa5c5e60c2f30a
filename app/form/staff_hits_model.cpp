#include "form/staff_hits_model.h"

#include "common/cp1252.h"

void StaffHitsModel::setHits(std::vector<rostradb::SearchHit> hits)
{
    beginResetModel();
    hits_ = std::move(hits);
    endResetModel();
}

int StaffHitsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(hits_.size());
}

QVariant StaffHitsModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= hits_.size())
        return {};
    const auto& hit = hits_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return fromGameText(hit.displayName);
    case kPositionRole:
        return QVariant::fromValue<qulonglong>(hit.position);
    default:
        return {};
    }
}

void StaffHitsModel::namesChanged(const std::vector<rostradb::StaffRecord>& staff)
{
    for (auto& hit : hits_)
        if (hit.position < staff.size())
            hit.displayName = staff[hit.position].displayName;
    if (!hits_.empty())
        emit dataChanged(index(0), index(rowCount() - 1));
}
