// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace lt {

// "Edit" (RENAMEDLG): column 0 and column 1 of one row in two fields.
class RenameDialog : public QDialog
{
    Q_OBJECT

public:
    RenameDialog(const std::string& first, const std::string& second, QWidget* parent = nullptr);

    QLineEdit* FirstEdit() const { return m_first; }
    QLineEdit* SecondEdit() const { return m_second; }
    std::string First() const;
    std::string Second() const;

private:
    QLineEdit* m_first = nullptr;
    QLineEdit* m_second = nullptr;
};

} // namespace lt
