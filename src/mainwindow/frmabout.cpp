#include "mainwindow/frmabout.h"
#include "mainwindow/widgetbuild.h"
#include "platform/places.h"
#include "platform/uiservice.h"

#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QUrlQuery>

#include <algorithm>

#include <functional>

namespace {

using platform::twipsPerPixel;
using widgetbuild::named;

void place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(platform::pixelRect(left, top, width, height));
}

// A label that reports a finished left click (press and release on it).
class ClickLabel : public QLabel {
public:
    ClickLabel(QWidget* parent, std::function<void()> onClick) : QLabel(parent), onClick_(std::move(onClick)) {}

protected:
    void mousePressEvent(QMouseEvent* e) override { e->accept(); }
    void mouseReleaseEvent(QMouseEvent* e) override
    {
        e->accept();
        if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()) && onClick_)
            onClick_();
    }

private:
    std::function<void()> onClick_;
};

QPixmap shippedPicture(const QString& name)
{
    const QString path = platform::shippedFile(name);
    return path.isEmpty() ? QPixmap() : QPixmap(path);
}

} // namespace

void openHelpPage(platform::UiService& ui, QWidget* parent)
{
    const QString name = QStringLiteral("help.html");
    const QString help = platform::shippedFile(name);
    if (help.isEmpty()) {
        ui.message(parent, QCoreApplication::applicationName(),
                   QStringLiteral("The help page could not be found:\n\n") + platform::shippedFilePlace(name),
                   QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
        return;
    }
    ui.openUrl(QUrl::fromLocalFile(help));
}

QString renamedSentence(qint32 files, qint32 dirs)
{
    return QStringLiteral("You have renamed ") + QString::number(files) + QStringLiteral(" files and ") +
           QString::number(dirs) + QStringLiteral(" directories") + QStringLiteral("!");
}

QUrl feedbackMailUrl(const QString& productTitle, const QString& versionText)
{
    QUrl url(QStringLiteral("mailto:"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), productTitle + QLatin1Char(' ') + versionText);
    url.setQuery(query);
    return url;
}

FrmAbout::FrmAbout(platform::UiService& ui, const QString& productTitle, const QString& versionText, qint32 totFiles,
                   qint32 totDirs, QWidget* parent)
    : QDialog(parent), ui_(ui), productTitle_(productTitle), versionText_(versionText)
{
    setObjectName(QStringLiteral("frmAbout"));
    // A fixed dialog border: no resizing, no minimise or maximise button.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(4695 / twipsPerPixel(), 3180 / twipsPerPixel());

    imgTaborin = named(new QLabel(this), QStringLiteral("imgTaborin"));
    imgTaborin->setPixmap(shippedPicture(QStringLiteral("about-logo.png")));
    imgTaborin->setAlignment(Qt::AlignCenter);
    place(imgTaborin, 120, 120, 1695, 2250);

    Shape1 = named(new QFrame(this), QStringLiteral("Shape1"));
    Shape1->setFrameShape(QFrame::Box);
    Shape1->setFrameShadow(QFrame::Plain);
    place(Shape1, 1950, 120, 2625, 2490);

    Image3 = named(new QLabel(this), QStringLiteral("Image3"));
    Image3->setPixmap(shippedPicture(QStringLiteral("about-picture.png")));
    place(Image3, 2070, 180, 1515, 1260);

    lblVersion = named(new QLabel(QStringLiteral("lblVersion"), this), QStringLiteral("lblVersion"));
    QFont big = lblVersion->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() + 2);
    lblVersion->setFont(big);
    place(lblVersion, 3645, 450, 780, 375);

    Label3 = named(new QLabel(QStringLiteral("Contact:"), this), QStringLiteral("Label3"));
    place(Label3, 2040, 1665, 615, 255);

    lblTotRenamed = named(new QLabel(QStringLiteral("lblTotRenamed"), this), QStringLiteral("lblTotRenamed"));
    lblTotRenamed->setWordWrap(true);
    lblTotRenamed->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    place(lblTotRenamed, 2040, 2025, 2490, 555);

    // An etched separator: a line in the shadow colour over one in the highlight colour.
    Line1 = named(new QFrame(this), QStringLiteral("Line1"));
    Line2 = named(new QFrame(this), QStringLiteral("Line2"));
    const std::pair<QFrame*, QPalette::ColorRole> lines[] = {{Line1, QPalette::Dark}, {Line2, QPalette::Light}};
    for (const auto& [line, role] : lines) {
        line->setAutoFillBackground(true);
        QPalette p = line->palette();
        p.setColor(QPalette::Window, p.color(role));
        line->setPalette(p);
    }
    Line1->setGeometry(120 / twipsPerPixel(), 2760 / twipsPerPixel(), (4560 - 120) / twipsPerPixel(), 1);
    Line2->setGeometry(120 / twipsPerPixel(), 2760 / twipsPerPixel() + 1, (4560 - 120) / twipsPerPixel(), 1);

    cmdExit = named(new QPushButton(QStringLiteral("Close"), this), QStringLiteral("cmdExit"));
    place(cmdExit, 45, 375, 570, 315);
    cmdExit->setDefault(true);
    cmdExit->setAutoDefault(true);
    connect(cmdExit, &QPushButton::clicked, this, &QDialog::accept);

    // Covers the whole box after loading, so a click on a picture or a label closes it.
    clickShape = named(static_cast<QWidget*>(new ClickLabel(this, [this] { accept(); })), QStringLiteral("clickShape"));

    auto* web = new ClickLabel(this, [this] { lblWeb_Click(); });
    lblWeb = named(static_cast<QLabel*>(web), QStringLiteral("lblWeb"));
    lblWeb->setText(QStringLiteral("Help and documentation"));
    place(lblWeb, 120, 2400, 1695, 255);
    auto* mail = new ClickLabel(this, [this] { lblMail_Click(); });
    lblMail = named(static_cast<QLabel*>(mail), QStringLiteral("lblMail"));
    lblMail->setText(QStringLiteral("Send feedback"));
    place(lblMail, 2760, 1665, 1305, 255);
    for (QLabel* link : {lblWeb, lblMail}) {
        QFont f = link->font();
        f.setUnderline(true);
        link->setFont(f);
        link->setCursor(Qt::PointingHandCursor);
        QPalette p = link->palette();
        p.setColor(QPalette::WindowText, p.color(QPalette::Link));
        link->setPalette(p);
    }

    fitCaptions();
    Form_Load(totFiles, totDirs);
}

void FrmAbout::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    // Centred on the screen, not on the main window.
    if (QScreen* s = screen())
        move(s->availableGeometry().center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
}

// The design's places were made for a narrower font: a link that needs more
// room widens its column, and the right-hand part moves along with the box.
void FrmAbout::fitCaptions()
{
    Label3->resize(std::max(Label3->width(), Label3->sizeHint().width()), Label3->height());
    lblMail->move(std::max(lblMail->x(), Label3->geometry().right() + 6), lblMail->y());
    lblMail->resize(std::max(lblMail->width(), lblMail->sizeHint().width()), lblMail->height());
    const int extra = std::max(0, lblWeb->sizeHint().width() - lblWeb->width());
    if (extra == 0)
        return;
    const int rightPart = Shape1->x();
    for (QWidget* w : findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (w->x() >= rightPart)
            w->move(w->x() + extra, w->y());
    lblWeb->resize(lblWeb->width() + extra, lblWeb->height());
    imgTaborin->resize(imgTaborin->width() + extra, imgTaborin->height());
    Line1->resize(Line1->width() + extra, Line1->height());
    Line2->resize(Line2->width() + extra, Line2->height());
    setFixedSize(width() + extra, height());
}

void FrmAbout::Form_Load(qint32 totFiles, qint32 totDirs)
{
    setWindowTitle(QStringLiteral(" About ") + productTitle_);
    lblVersion->setText(QStringLiteral("v") + versionText_);
    lblTotRenamed->setText(renamedSentence(totFiles, totDirs));
    // The close button lies beyond the right edge: unseen, but still the
    // default and cancel button with the focus, so Enter, Escape and Space close.
    cmdExit->move(frameGeometry().width() + 1000 / twipsPerPixel(), cmdExit->y());
    cmdExit->setFocus();
    clickShape->setGeometry(0, 0, width(), height());
    clickShape->raise();
    lblWeb->raise();
    lblMail->raise();
}

void FrmAbout::mouseReleaseEvent(QMouseEvent* e)
{
    // A click on the window itself, where the covering element does not reach.
    if (e->button() == Qt::LeftButton)
        accept();
}

void FrmAbout::lblWeb_Click()
{
    openHelpPage(ui_, this);
}

void FrmAbout::lblMail_Click()
{
    ui_.openUrl(feedbackMailUrl(productTitle_, versionText_));
}
