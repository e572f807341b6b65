// CBaseTagEditDialog: the modal dialog "Tags" of the tag editors. The left half holds the seven
// ID3v1 fields, each with a menu button ("Copy from ID3v2", "&Keep"); the right half the ID3v2
// frames as rows of a two-column list grouped by kind, with Add (a menu of frames), Edit...,
// Remove and Keep. Every command goes to a virtual operation that the single-file and the
// multi-file editors fill in.
#pragma once

#include "base/Types.h"
#include "editor/ID3v1Fields.h"
#include "editor/TagWriting.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class CFileChange;
class CFrameBaseDialog;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace Tags::ID3v2Tag
{
class CFrame;
}

namespace FieldMenu
{
// The commands of the fields' menu (menu 347).
inline constexpr UINT ID_KEEP = 32868;
inline constexpr UINT ID_COPY_FROM_ID3V2 = 32869;
} // namespace FieldMenu

class CBaseTagEditDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CBaseTagEditDialog(QWidget* pParent = nullptr);
    ~CBaseTagEditDialog() override;

    // The options read when OK is pressed (the options dialog may change them meanwhile).
    void SetTagOptions(std::function<tagTAGOPTIONS()> getOptions)
    {
        m_getOptions = std::move(getOptions);
    }
    // Where OK records what it writes, for Undo; none: nothing is recorded.
    void SetChange(CFileChange* pChange) { m_pChange = pChange; }
    // Opens the options dialog on its "Tags" page, modally over the given window.
    void SetOptionsHandler(std::function<void(QWidget* pParent)> handler)
    {
        m_onOptions = std::move(handler);
    }

    // --- For tests and the concrete editors ---
    QTreeWidget* GetFrameList() const { return m_pFrameList; }
    QMenu* GetAddMenu() const { return m_pAddMenu; }
    QToolButton* GetFieldButton(ID3V1_FIELD field) const;
    // The object a row stands for (a frame or an action); null for a group header.
    static void* GetItemData(const QTreeWidgetItem* pItem);

protected:
    CFileChange* GetChange() const { return m_pChange; }

    // --- The operations the concrete editors supply ---
    // nCommand: the Add menu entry's number, 1..65.
    virtual void OnAddFrame(int nCommand);
    virtual void OnEditFrame();
    virtual void OnRemoveFrame();
    virtual void OnKeepFrame();
    // A field's menu entry was chosen; GetFieldCommand tells which.
    virtual void OnFieldMenu(ID3V1_FIELD field);
    virtual void OnOK();

    // --- Shared operations ---
    // Exchanges the seven values of m_values with the controls: into the values with
    // bSaveAndValidate, else into the controls.
    void UpdateData(BOOL bSaveAndValidate);
    // TRUE when the Track value is a number in 0..255 (nTrack is then the number); otherwise a
    // balloon tip on the Track edit, the focus there, and FALSE.
    BOOL CheckTrackNumber(int& nTrack);
    // Runs the frame's edit dialog; FALSE when the frame has none (string 134 shown) or the
    // dialog was cancelled.
    BOOL EditFrame(Tags::ID3v2Tag::CFrame& frame);
    // The options as they are now.
    tagTAGOPTIONS GetTagOptions() const;
    // The command last chosen in the field's menu.
    UINT GetFieldCommand(ID3V1_FIELD field) const { return m_fieldCommands[field]; }
    // Appends a row under the group of the frame ID; pData is the row's object.
    QTreeWidgetItem* InsertFrameItem(const char* szID, const QString& strValue, void* pData);
    void SetItemValue(QTreeWidgetItem* pItem, const QString& strValue);
    QTreeWidgetItem* GetSelectedItem() const;
    // The rows as displayed, group by group, without the group headers.
    std::vector<QTreeWidgetItem*> GetRows() const;
    // The row whose object is pData, or null.
    QTreeWidgetItem* FindItem(const void* pData) const;
    // Appends entries after the genres of the genre box.
    void AddGenreEntries(const QStringList& arrEntries);
    // Deletes the selected row, selecting the row below it, else the one above.
    void DeleteSelectedItem();
    void SelectItem(QTreeWidgetItem* pItem);
    // The Keep button and the fields' "&Keep" entries (the single-file editor has no use for
    // them).
    void EnableKeep(BOOL bEnable);
    void ShowMessage(const QString& strText);

    tagID3V1VALUES m_values;

private:
    CFileChange* m_pChange = nullptr;
    void CreateFieldControls(class QGridLayout* pGrid);
    void CreateFrameControls(class QGroupBox* pGroup);
    QMenu* CreateFieldMenu(ID3V1_FIELD field);
    void UpdateButtons();
    bool eventFilter(QObject* pObject, QEvent* pEvent) override;
    void accept() override;

    std::array<QLineEdit*, ID3V1_FIELD_COUNT> m_pEdits = {};
    QComboBox* m_pGenre = nullptr;
    std::array<QToolButton*, ID3V1_FIELD_COUNT> m_pFieldButtons = {};
    std::array<UINT, ID3V1_FIELD_COUNT> m_fieldCommands = {};
    std::array<QMenu*, ID3V1_FIELD_COUNT> m_pFieldMenus = {};
    QTreeWidget* m_pFrameList = nullptr;
    QToolButton* m_pAdd = nullptr;
    QMenu* m_pAddMenu = nullptr;
    QPushButton* m_pEdit = nullptr;
    QPushButton* m_pRemove = nullptr;
    QPushButton* m_pKeep = nullptr;
    std::function<tagTAGOPTIONS()> m_getOptions;
    std::function<void(QWidget*)> m_onOptions;
};
