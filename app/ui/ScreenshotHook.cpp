#include "app/ui/ScreenshotHook.h"

#include "app/ui/MainFrame.h"
#include "browser/ui/FileView.h"
#include "browser/ui/FileViewCommands.h"

#include <QApplication>
#include <QDialog>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <vector>

namespace
{

struct tagSCREENSHOTDIALOG
{
    const char* pszName;
    UINT nCommand;
};

// The dialogs that can be pictured, by the command that opens them.
constexpr tagSCREENSHOTDIALOG kDialogs[] = {
    {"edit-tag", Cmd::ID_EDIT_TAG},
    // The first stored rename preset: its "Confirm Rename" list.
    {"rename", Cmd::ID_RENAME_PRESET_FIRST},
    {"tags-from-name", Cmd::ID_TAGS_FROM_NAME},
};

// Time for the window to be laid out and painted once (and the dialog after it).
constexpr int kPaintDelay = 500;

bool Save(QWidget& widget, const QString& strTarget)
{
    if (widget.grab().save(strTarget, "PNG"))
        return true;
    qWarning("Could not save the screenshot to %s", qPrintable(strTarget));
    return false;
}

std::vector<int> ParseRows(const QString& strRows)
{
    std::vector<int> arrRows;
    for (const QString& strRow : strRows.split(QLatin1Char(','), Qt::SkipEmptyParts))
    {
        bool bOk = false;
        const int nRow = strRow.trimmed().toInt(&bOk);
        if (bOk && nRow >= 0)
            arrRows.push_back(nRow);
    }
    if (arrRows.empty())
        arrRows.push_back(0);
    return arrRows;
}

// Pictures the dialog the command opened and cancels it.
void PictureDialog(const QString& strTarget)
{
    QWidget* pDialog = QApplication::activeModalWidget();
    if (!pDialog)
    {
        qWarning("No dialog was open to take a screenshot of.");
        return;
    }
    Save(*pDialog, strTarget);
    if (auto* pQDialog = qobject_cast<QDialog*>(pDialog))
        pQDialog->reject();
    else
        pDialog->close();
}

// Once the window is painted: the window's picture, or the command's dialog over the rows.
void Shoot(CMainFrame& frame, const QString& strTarget, UINT nCommand,
           const std::vector<int>& arrRows)
{
    // A diagnostics dialog of the start-up would keep the program open.
    if (QWidget* pModal = QApplication::activeModalWidget())
        pModal->close();
    if (nCommand == 0)
    {
        Save(frame, strTarget);
        frame.close();
        return;
    }
    frame.GetFileView()->SelectRows(arrRows);
    // The dialog runs a loop of its own, in which this timer comes.
    QTimer::singleShot(kPaintDelay, &frame, [strTarget] { PictureDialog(strTarget); });
    if (!frame.RouteCommand(nCommand))
        qWarning("The command of the dialog is not available here.");
    frame.close();
}

} // namespace

void ScheduleScreenshot(CMainFrame& frame)
{
    const QString strTarget = qEnvironmentVariable("TAGWRIGHT_SCREENSHOT");
    if (strTarget.isEmpty())
        return;
    const QString strDialog = qEnvironmentVariable("TAGWRIGHT_SCREENSHOT_DIALOG");
    UINT nCommand = 0;
    for (const tagSCREENSHOTDIALOG& dialog : kDialogs)
    {
        if (strDialog == QLatin1String(dialog.pszName))
            nCommand = dialog.nCommand;
    }
    if (!strDialog.isEmpty() && nCommand == 0)
        qWarning("No dialog is called %s.", qPrintable(strDialog));
    const std::vector<int> arrRows = ParseRows(qEnvironmentVariable("TAGWRIGHT_SCREENSHOT_ROWS"));
    QTimer::singleShot(kPaintDelay, &frame,
                       [&frame, strTarget, nCommand, arrRows]
                       { Shoot(frame, strTarget, nCommand, arrRows); });
}
