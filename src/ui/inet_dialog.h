// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;

namespace lt {

struct AppState;

// "Read Internet Files" (INETDLG): the crawl's settings. "&Ok" checks the filters and the start
// and, when they hold, writes the settings into the INET options; the caller then starts the
// quick read or opens the job window (CrawlRunner). The dialog itself starts nothing.
class InetDialog : public QDialog
{
public:
    InetDialog(AppState& app, QWidget* parent = nullptr);

    // The "&Ok" action (also reached by the tests): false when the dialog stays open.
    bool Confirm();

    QComboBox* UrlCombo() const { return m_url; }
    QCheckBox* FollowBox() const { return m_follow; }
    QLineEdit* LevelEdit() const { return m_level; }
    QLineEdit* FollowMustEdit() const { return m_followMust; }
    QLineEdit* FollowMustNotEdit() const { return m_followMustNot; }
    QCheckBox* SaveBox() const { return m_save; }
    QComboBox* SaveDirCombo() const { return m_saveDir; }
    QCheckBox* SaveOnlyBox() const { return m_saveOnly; }
    QLineEdit* SavedMustEdit() const { return m_savedMust; }
    QLineEdit* SavedMustNotEdit() const { return m_savedMustNot; }
    QCheckBox* UrlFileBox() const { return m_urlFileOn; }
    QLineEdit* UrlFileEdit() const { return m_urlFile; }

private:
    AppState& m_app;
    QComboBox* m_url = nullptr;
    QCheckBox* m_follow = nullptr;
    QLineEdit* m_level = nullptr;
    QCheckBox* m_urlFileOn = nullptr;
    QLineEdit* m_urlFile = nullptr;
    QLineEdit* m_followMust = nullptr;
    QRadioButton* m_followMustAll = nullptr;
    QLineEdit* m_followMustNot = nullptr;
    QRadioButton* m_followMustNotAll = nullptr;
    QCheckBox* m_save = nullptr;
    QComboBox* m_saveDir = nullptr;
    QCheckBox* m_saveOnly = nullptr;
    QLineEdit* m_savedMust = nullptr;
    QRadioButton* m_savedMustAll = nullptr;
    QLineEdit* m_savedMustNot = nullptr;
    QRadioButton* m_savedMustNotAll = nullptr;
    QCheckBox* m_enumerate = nullptr;
    QLineEdit* m_baseName = nullptr;
};

} // namespace lt
