// CPlaylistFileDialog: the file dialog of Load Playlist (open) and Create Playlist (save), with
// the program's own controls below the standard ones: "Append to the files list" for the open
// dialog; "Options...", "Selected files" and "All files" for the save dialog. Always the
// dialog's own widgets (never the desktop's), so those controls can live in its layout.
#pragma once

#include "base/String.h"
#include "base/Types.h"

#include <QFileDialog>

#include <functional>

class QCheckBox;
class QPushButton;
class QRadioButton;

class CPlaylistFileDialog : public QFileDialog
{
    Q_OBJECT

public:
    // bOpenFileDialog: the open dialog of Load Playlist; otherwise the save dialog of Create
    // Playlist.
    explicit CPlaylistFileDialog(BOOL bOpenFileDialog, QWidget* pParent = nullptr);
    ~CPlaylistFileDialog() override;

    BOOL IsOpenFileDialog() const { return m_bOpenFileDialog; }

    // What "Options..." opens, modally over this dialog, which stays open. Without one the
    // button is disabled.
    void SetOptionsHandler(std::function<void(QWidget* pParent)> handler);

    // The chosen file's full path once the dialog was confirmed; empty before.
    CString GetPathName() const;

    // The added controls (none of the other kind of dialog).
    QCheckBox* GetAppendCheck() const { return m_pAppend; }
    QPushButton* GetOptionsButton() const { return m_pOptions; }
    QRadioButton* GetSelectedFilesRadio() const { return m_pSelectedFiles; }
    QRadioButton* GetAllFilesRadio() const { return m_pAllFiles; }

    // Open dialog: "Append to the files list"; FALSE when the dialog is created. Save dialog:
    // TRUE for "All files", set by the caller before showing. The controls show them when the
    // dialog opens and they take the controls' states when a file name is confirmed.
    BOOL m_bAppend = FALSE;
    BOOL m_bAllFiles = FALSE;

public slots:
    void done(int nResult) override;

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void AddOpenControls();
    void AddSaveControls();
    // The area below the standard controls, spanning the dialog's width.
    void AddBelow(QWidget* pWidget);
    // The patterns the file list shows, whatever the filter's display text looks like.
    void ApplyPatterns();
    void OnOptions();

    BOOL m_bOpenFileDialog;
    QStringList m_arrPatterns;
    QCheckBox* m_pAppend = nullptr;
    QPushButton* m_pOptions = nullptr;
    QRadioButton* m_pSelectedFiles = nullptr;
    QRadioButton* m_pAllFiles = nullptr;
    std::function<void(QWidget* pParent)> m_onOptions;
};
