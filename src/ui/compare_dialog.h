// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include "list/compare_job.h"

class QCheckBox;
class QPushButton;
class QRadioButton;

namespace lt {

// "Compare File List to Disk Files": OK deletes by the chosen rule, "&Refresh" writes the disk's
// values into the rows instead. It only collects values.
class CompareDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CompareDialog(const DiskCompareParams& start, QWidget* parent = nullptr);

    QRadioButton* EqualButton() const { return m_equal; }
    QRadioButton* DifferentButton() const { return m_different; }
    QCheckBox* AttributeBox(int i) const { return m_attributes[static_cast<std::size_t>(i)]; } // 0..3
    QCheckBox* DeleteIfMissingBox() const { return m_deleteIfMissing; }
    QPushButton* RefreshButton() const { return m_refresh; }

    DiskCompareParams Params() const;

private:
    QRadioButton* m_equal = nullptr;
    QRadioButton* m_different = nullptr;
    std::array<QCheckBox*, 4> m_attributes{};
    QCheckBox* m_deleteIfMissing = nullptr;
    QPushButton* m_refresh = nullptr;
    bool m_refreshChosen = false;
};

} // namespace lt
