#include "About.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "AppResources.h"
#include "FileVersion.h"
#include "WebLinks.h"
#include "controls/FontStyles.h"
#include "platform/GetText.h"

namespace {

QLabel* makeLabel(const QString& name, QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    ensureAppResources();
    setFont(arialFont(11));

    auto* top = new QFrame(this);
    top->setObjectName(QStringLiteral("panTop"));
    top->setAutoFillBackground(true);
    QPalette white = top->palette();
    white.setColor(QPalette::Window, Qt::white);
    top->setPalette(white);

    Image1 = makeLabel(QStringLiteral("Image1"), top);
    Image1->setPixmap(QPixmap(QStringLiteral(":/images/quillet-64.png")));
    Image1->setFixedSize(64, 64);

    lblApplicationName = makeLabel(QStringLiteral("lblApplicationName"), top);
    lblApplicationName->setText(QStringLiteral("Quillet"));
    lblApplicationName->setFont(arialFont(21, fsBold));
    lblApplicationName->setStyleSheet(QStringLiteral("color: #0000ff;"));

    lblVersion = makeLabel(QStringLiteral("lblVersion"), top);
    lblVersion->setFont(arialFont(16, fsBold | fsItalic));
    // Black on the panel's fixed white, whatever the desktop's colours.
    QPalette black = lblVersion->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblVersion->setPalette(black);

    Image2 = makeLabel(QStringLiteral("Image2"), top);
    Image2->setPixmap(QPixmap(QStringLiteral(":/images/donate.png")));

    lblWebSite = makeLabel(QStringLiteral("lblWebSite"), top);
    lblWebSite->setText(weblinks::WebSite);
    lblWrittenBy = makeLabel(QStringLiteral("lblWrittenBy"), top);
    for (QLabel* grey : {lblWebSite, lblWrittenBy})
        grey->setStyleSheet(QStringLiteral("color: #808080;"));

    for (QLabel* link : {lblVersion, Image2, lblWebSite, lblWrittenBy}) {
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
    }

    auto* names = new QVBoxLayout;
    names->setSpacing(2);
    names->addWidget(lblApplicationName);
    names->addWidget(lblVersion);
    names->addSpacing(10);
    names->addWidget(lblWebSite);
    names->addWidget(lblWrittenBy);
    names->addStretch();

    auto* donate = new QVBoxLayout;
    donate->addWidget(Image2);
    donate->addStretch();

    auto* topLayout = new QHBoxLayout(top);
    topLayout->setContentsMargins(16, 16, 16, 16);
    topLayout->setSpacing(14);
    topLayout->addWidget(Image1, 0, Qt::AlignTop);
    topLayout->addLayout(names, 1);
    topLayout->addLayout(donate);

    btnOK = new QPushButton(this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setText(_("OK"));
    btnOK->setDefault(true);
    btnOK->setMinimumWidth(75);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(10, 8, 10, 10);
    buttons->addStretch();
    buttons->addWidget(btnOK);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(top);
    layout->addWidget(separator);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    FormCreate();
}

void TfrmAbout::FormCreate()
{
    lblWrittenBy->setText(_("Written by: ") + weblinks::AuthorName);
    setWindowTitle(_("About") + QLatin1Char(' ') + lblApplicationName->text());
    lblVersion->setText(
        _("Version") + QStringLiteral(":  ") +
        GetFileVersionString(QCoreApplication::applicationFilePath(), QStringLiteral("@A.@B.@C, Build:  @D")));
}

bool TfrmAbout::Execute()
{
    return exec() == QDialog::Accepted;
}

void TfrmAbout::Image2Click()
{
    OpenWebLink(weblinks::DonationsPage);
}
void TfrmAbout::lblWebSiteClick()
{
    OpenWebLink(weblinks::WebSite);
}
void TfrmAbout::lblWrittenByClick()
{
    OpenWebLink(weblinks::AuthorMail);
}
void TfrmAbout::lblVersionClick()
{
    OpenWebLink(weblinks::DownloadPage);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == Image2)
            Image2Click();
        else if (watched == lblWebSite)
            lblWebSiteClick();
        else if (watched == lblWrittenBy)
            lblWrittenByClick();
        else if (watched == lblVersion)
            lblVersionClick();
        else
            return QDialog::eventFilter(watched, event);
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
