// CAutoRenameDialog: "Auto Rename", where the user types or assembles a rename pattern from the
// token menu, sets the counter, sees the first file's new name, and keeps patterns as presets.
// On OK the result preset holds the checked pattern and counter settings.
#pragma once

#include "rename/PatternInput.h"
#include "rename/PresetData.h"

#include <QDialog>

class CAutoRenamePreset;
class CAutoRenamePresetListBox;
class CFileAssocData;
class CSpinEdit;
class CTypedLengthLimit;
class QCheckBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;

class CAutoRenameDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CAutoRenameDialog(QWidget* pParent = nullptr);
    ~CAutoRenameDialog() override;

    // The store the preset list shows and changes at once (borrowed); set before the run.
    void SetPresets(CAutoRenamePreset* pPresets) { m_pPresets = pPresets; }
    // The file whose new name is shown as the pattern and counter change (borrowed), or null.
    void SetPreviewRecord(const CFileAssocData* pRecord) { m_pPreviewRecord = pRecord; }

    // Fills the controls and runs the dialog modally.
    int exec() override;
    int DoModal() { return exec(); }

    // The counter values bound to the counter controls.
    tagCOUNTERVALUES m_values;
    // After OK: the preset to rename with.
    tagPRESETDATA m_preset;

protected:
    void OnInitDialog();
    void OnOK();
    void OnAddToPresets();
    // The token menu button: the chosen token replaces the pattern's selection.
    void OnTokenButton();
    void OnPatternChanged();
    void OnPresetSelected();

private:
    void accept() override;
    // Steps shared by OK and "Add to Presets": the counter fields read (their message shown at
    // the first bad one), the pattern checked; a refused pattern is reported and selected.
    // TRUE with the preset when it may be used.
    BOOL ReadPreset(tagPRESETDATA& preset);
    void InsertPatternToken(const QString& strToken);
    void ShowMessage(const CString& strText);
    void UpdatePreview();

    CAutoRenamePreset* m_pPresets = nullptr;
    const CFileAssocData* m_pPreviewRecord = nullptr;

    QLineEdit* m_pPattern = nullptr;
    CTypedLengthLimit* m_pPatternLimit = nullptr;
    QToolButton* m_pTokenButton = nullptr;
    QMenu* m_pTokenMenu = nullptr;
    QLabel* m_pPreviewLabel = nullptr;
    QLabel* m_pPreview = nullptr;
    CSpinEdit* m_arrCounters[COUNTER_FIELDS] = {};
    QCheckBox* m_pReset = nullptr;
    QPushButton* m_pOK = nullptr;
    QPushButton* m_pAddPreset = nullptr;
    CAutoRenamePresetListBox* m_pPresetList = nullptr;
};
