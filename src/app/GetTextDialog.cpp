#include "GetTextDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/FontStyles.h"
#include "controls/TextField.h"

TfrmGetText::TfrmGetText(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmGetText"));
    setFont(arialFont(11));

    lblQuestion = new QLabel(this);
    lblQuestion->setObjectName(QStringLiteral("lblQuestion"));
    lblQuestion->setTextFormat(Qt::PlainText);

    edtAnswer = new TextField(this);
    edtAnswer->setObjectName(QStringLiteral("edtAnswer"));
    edtAnswer->setMinimumWidth(280);

    btnDone = new QPushButton(QStringLiteral("Done"), this);
    btnDone->setObjectName(QStringLiteral("btnDone"));
    btnDone->setDefault(true);
    connect(btnDone, &QPushButton::clicked, this, &QDialog::accept);

    btnCancel = new QPushButton(QStringLiteral("Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject); // Escape rejects too

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnDone);
    buttons->addWidget(btnCancel);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addWidget(lblQuestion);
    layout->addWidget(edtAnswer);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

bool TfrmGetText::Execute(const QString& Caption, const QString& Question, const QString& Default)
{
    setWindowTitle(Caption);
    lblQuestion->setText(Question);
    edtAnswer->setText(Default);
    edtAnswer->setFocus();
    return exec() == QDialog::Accepted;
}

QString TfrmGetText::GetAnswer() const
{
    return edtAnswer->text();
}
