// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QLineEdit;

namespace lt {

// "Find Text": one line "Search for:", pre-filled with the last find text and selected. "&Ok" with
// an empty text keeps the dialog open.
class TextFindDialog : public QDialog
{
    Q_OBJECT

public:
    TextFindDialog(const QString& last, QWidget* parent = nullptr);
    QString Text() const;
    QLineEdit* Edit() const { return m_edit; }

    void accept() override;

private:
    QLineEdit* m_edit = nullptr;
};

} // namespace lt
