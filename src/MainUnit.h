#pragma once

#include "TForm.h"
#include "ui_MainUnit.h"

// The mail-reading main window.
class TTeskMailerForm : public TForm, public Ui::TTeskMailerForm
{
    Q_OBJECT

public:
    explicit TTeskMailerForm(QWidget *parent = nullptr);

    void ExitActionExecute(QObject *Sender);
    void HomePageActionExecute(QObject *Sender);
    void ShellOpen(const QString &Document, const QString &Parameters, const QString &Directory,
                   int ShowCmd);
    void AboutActionExecute(QObject *Sender);
    void FormShow(QObject *Sender);
    void LoadOptions();
    void SaveOptions();
    void FormClose(QObject *Sender, TCloseAction &Action);
    void ShowAppHint(QObject *Sender);
    void NewmailBoxActionExecute(QObject *Sender);
};

extern TTeskMailerForm *TeskMailerForm;
