// COptionsIntegrationPage: the options dialog's "Integration" page (template 364). Changing the
// check box starts the program a second time with the switch that installs or removes the
// file managers' menu entries; the setting follows the box only when that start succeeded.
#pragma once

#include "app/ui/OptionsPage.h"

#include <QStringList>

#include <functional>

class QCheckBox;

class COptionsIntegrationPage : public COptionsPage
{
    Q_OBJECT

public:
    // Starts a program with arguments without waiting for it; true when it started.
    using ProgramStarter = std::function<bool(const QString& strProgram, const QStringList& args)>;

    explicit COptionsIntegrationPage(CAppSettings& settings, QWidget* pParent = nullptr);

    // The way the registration run is started; StartDetached unless replaced.
    void SetProgramStarter(ProgramStarter starter);
    // Starts the program as a process of its own that outlives this one.
    static bool StartDetached(const QString& strProgram, const QStringList& args);

protected:
    void OnInitDialog() override;
    void OnOK() override;

private:
    QCheckBox* m_pEnable = nullptr;
    ProgramStarter m_starter;
};
