// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/desktop_windows.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QRadioButton;

namespace lt {

struct AppState;

// "Read Internet Files" (INETDLG): the crawl's settings. "&Ok" checks the filters and the start
// and, when they hold, writes the settings into the INET options; the caller then starts the
// quick read or opens the job window. The dialog itself starts nothing. "Save &job as" and
// "Load &job" keep the whole job in a job file; "&Paste List Url" and "Paste &from Panes" fill
// the start URL.
class InetDialog : public QDialog
{
public:
    // Hooks for tests: what the job file dialogs would return (empty: cancelled), the desktop the
    // window search walks, and the popup menu of several window URLs (instead of showing it).
    struct Hooks
    {
        std::function<QString(bool save)> jobFile;
        std::function<std::unique_ptr<DesktopWindows>()> desktop;
        std::function<void(QMenu& menu)> showMenu;
    };

    InetDialog(AppState& app, QWidget* parent = nullptr);

    // The "&Ok" action (also reached by the tests): false when the dialog stays open.
    bool Confirm();
    // "Save &job as" (5610) and "Load &job" (5620).
    void SaveJob();
    void LoadJob();
    // "&Paste List Url": the focused (else first selected) row of the result list.
    void PasteListUrl();
    // "Paste &from Panes": one URL found goes into the field, two to seven make a menu.
    void PasteFromPanes();

    Hooks& TestHooks() { return m_hooks; }

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
    // The controls from the INET options, and back.
    void Fill();
    void Apply();
    QString AskJobFile(bool save);

    AppState& m_app;
    Hooks m_hooks;
    QComboBox* m_url = nullptr;
    QCheckBox* m_follow = nullptr;
    QLineEdit* m_level = nullptr;
    QCheckBox* m_urlFileOn = nullptr;
    QLineEdit* m_urlFile = nullptr;
    QLineEdit* m_followMust = nullptr;
    QRadioButton* m_followMustAny = nullptr;
    QRadioButton* m_followMustAll = nullptr;
    QLineEdit* m_followMustNot = nullptr;
    QRadioButton* m_followMustNotAny = nullptr;
    QRadioButton* m_followMustNotAll = nullptr;
    QCheckBox* m_save = nullptr;
    QComboBox* m_saveDir = nullptr;
    QCheckBox* m_saveOnly = nullptr;
    QLineEdit* m_savedMust = nullptr;
    QRadioButton* m_savedMustAny = nullptr;
    QRadioButton* m_savedMustAll = nullptr;
    QLineEdit* m_savedMustNot = nullptr;
    QRadioButton* m_savedMustNotAny = nullptr;
    QRadioButton* m_savedMustNotAll = nullptr;
    QCheckBox* m_enumerate = nullptr;
    QLineEdit* m_baseName = nullptr;
};

} // namespace lt
