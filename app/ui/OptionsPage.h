// COptionsPage: one tab of the options dialog. As with the pages of a property sheet, a page
// fills its controls from the settings the first time it is shown, and only a page that was
// shown writes its controls back on OK, so the settings of a page the user never opened keep
// their values.
#pragma once

#include "app/AppSettings.h"
#include "base/Types.h"

#include <QWidget>

class COptionsPage : public QWidget
{
    Q_OBJECT

public:
    COptionsPage(CAppSettings& settings, const QString& strTitle, QWidget* pParent = nullptr);

    const QString& GetTitle() const { return m_strTitle; }
    BOOL IsInitialized() const { return m_bInitialized; }

    // Fills the controls from the settings; only the first call does anything.
    void Initialize();
    // Writes the controls back into the settings when the page was initialised.
    void Apply();

protected:
    // Loads the settings into the controls and sets their enabled states.
    virtual void OnInitDialog() = 0;
    // Stores the controls' values.
    virtual void OnOK() = 0;

    void showEvent(QShowEvent* pEvent) override;

    CAppSettings& m_settings;

private:
    QString m_strTitle;
    BOOL m_bInitialized = FALSE;
};
