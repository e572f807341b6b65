#include "app/ui/TermOfUseDialog.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace
{

// Paragraphs are single lines, so that the text box wraps them to its width.
constexpr char TERMS[] =
    "========================================\n"
    "Tagwright 2.5.0 - Term of Use\n"
    "========================================\n"
    "\n"
    "Tagwright shows and edits the tags of MPEG audio files (\".mp3\", \".mp2\" and \".mp1\"), "
    "renames such files from their tags and writes playlists. By installing or using Tagwright "
    "you accept the terms below.\n"
    "\n"
    "1. Use. You may install Tagwright on any number of computers and use it for private and "
    "business purposes, free of charge.\n"
    "\n"
    "2. Copies. You may pass on unchanged copies of the program together with these terms. You "
    "may not sell the program, or make it part of a product that is sold, without the written "
    "consent of Corvell.\n"
    "\n"
    "3. Your files. Tagwright changes audio files in place: it rewrites and removes their tags "
    "and renames them when you ask it to. Keep copies of the files that matter to you before "
    "you change many of them at once.\n"
    "\n"
    "4. No warranty. Tagwright is provided as it is, without warranty of any kind, express or "
    "implied, including any warranty of fitness for a particular purpose.\n"
    "\n"
    "5. Liability. As far as the law allows, Corvell is not liable for any loss of data, loss "
    "of profit or other damage that arises from the use of Tagwright or from being unable to "
    "use it.\n"
    "\n"
    "6. Settings and integration. Tagwright keeps its settings for the current user only. The "
    "option \"Enable shell integration\" adds Tagwright to the context menus of your file "
    "manager; turning it off removes those entries again.\n"
    "\n"
    "Copyright (C) 2026 Corvell. All rights reserved.\n";

} // namespace

CTermOfUseDialog::CTermOfUseDialog(QWidget* pParent) : QDialog(pParent)
{
    setObjectName(QStringLiteral("102"));
    setWindowTitle(QStringLiteral("Term of Use"));

    m_pText = new QPlainTextEdit(this);
    m_pText->setObjectName(QStringLiteral("1006"));
    m_pText->setReadOnly(true);
    m_pText->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_pText->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_pText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_pText->setPlainText(GetText());
    // Out of the tab order, so that OK keeps the focus.
    m_pText->setFocusPolicy(Qt::ClickFocus);

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    QPushButton* pOk = pButtons->button(QDialogButtonBox::Ok);
    pOk->setText(QStringLiteral("OK"));
    pOk->setObjectName(QStringLiteral("1"));
    pOk->setDefault(true);
    pOk->setFocus();
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* pLayout = new QVBoxLayout(this);
    pLayout->addWidget(m_pText);
    pLayout->addWidget(pButtons);
    resize(480, 360);
}

int CTermOfUseDialog::DoModal()
{
    return exec();
}

QString CTermOfUseDialog::GetText()
{
    return QString::fromUtf8(TERMS);
}
