#include "InfoDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "controls/FontStyles.h"

TfrmInfoDialog::TfrmInfoDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmInfoDialog"));
    setFont(arialFont(11));

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setFixedSize(48, 48); // the picture's place, kept beside the message even while empty

    stxtMessage = new QLabel(this);
    stxtMessage->setObjectName(QStringLiteral("stxtMessage"));
    stxtMessage->setTextFormat(Qt::PlainText); // an ampersand is shown as it is
    stxtMessage->setWordWrap(true);
    stxtMessage->setMinimumWidth(240);
    stxtMessage->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    btnOk = new QPushButton(QStringLiteral("OK"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnOk->setMinimumWidth(75);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);

    auto* message = new QHBoxLayout;
    message->setSpacing(12);
    message->addWidget(Image1, 0, Qt::AlignTop);
    message->addWidget(stxtMessage, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOk);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->addLayout(message, 1);
    layout->addLayout(buttons);
}

bool TfrmInfoDialog::Execute(const QString& Caption, const QString& Message)
{
    setWindowTitle(Caption);
    stxtMessage->setText(Message);
    return exec() == QDialog::Accepted;
}
