#include "vpnserveritem.h"

#include "flagdisc.h"
#include "ui_vpnserveritem.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QStyle>

namespace {

const char *const FullTextProperty = "fullText";

} // namespace

VPNServerItem::VPNServerItem(const VPNServerSubType &subType, const VPNServerListType &listType,
                             QWidget *parent)
    : QWidget(parent)
    , ui(new Ui::VPNServerItem)
    , m_subType(subType)
    , m_listType(listType)
{
    ui->setupUi(this);
    ui->favoriteButton->setChecked(true);
    ui->favoriteButton->setAccessibleName(tr("Favorite"));
    ui->line->hide();
    connect(ui->favoriteButton, SIGNAL(clicked(bool)), this, SIGNAL(favoriteButtonClicked()));
    if (subType == Sub_Premium)
        layOutSingle();
    else
        layOutDouble();
    installEventFilter(this);
    ui->locationLabel1->installEventFilter(this);
    if (m_subType == Sub_Double)
        ui->locationLabel2->installEventFilter(this);
}

VPNServerItem::~VPNServerItem()
{
    delete ui;
}

void VPNServerItem::layOutSingle()
{
    delete ui->flagWidget2;
    ui->flagWidget2 = nullptr;
    ui->flagLabel2 = nullptr;
    delete ui->locationLabel2;
    ui->locationLabel2 = nullptr;
    // The grid goes; its remaining widgets stay children of the background.
    delete ui->gridLayout;
    ui->gridLayout = nullptr;
    auto *row = new QHBoxLayout(ui->bgWidget);
    row->setSpacing(15);
    row->setContentsMargins(10, 5, 10, 5);
    row->addWidget(ui->flagBGWidget, 0);
    row->addWidget(ui->locationLabel1, 1);
    row->addWidget(ui->favoriteButton, 0);
    setFixedHeight(sizeHint().height());
    m_hoverProperty = "parentHoverPrm";
    m_selectProperty = "parentSelectPrm";
}

void VPNServerItem::layOutDouble()
{
    QWidget *holder = ui->flagBGWidget;
    holder->setFixedHeight(holder->minimumHeight());
    delete ui->flagBGHLayout;
    ui->flagBGHLayout = nullptr;
    ui->flagWidget1->setParent(holder);
    ui->flagWidget2->setParent(holder);
    ui->flagWidget2->raise();
    ui->flagWidget1->move(0, -2);
    ui->flagWidget2->move(20, -2);
    ui->flagWidget1->show();
    ui->flagWidget2->show();
    holder->setFixedWidth(55);
    setFixedHeight(sizeHint().height());
    m_hoverProperty = "parentHoverDbl";
    m_selectProperty = "parentSelectDbl";
}

void VPNServerItem::setText(const QString &text, const VPNServerType &which)
{
    QLabel *label = which == Srv_First ? ui->locationLabel1 : ui->locationLabel2;
    if (!label)
        return;
    label->setProperty(FullTextProperty, text);
    label->setToolTip(text.size() > 200 ? text.left(200) + QChar(0x2026) : text);
    elide(label);
    ui->favoriteButton->setAccessibleDescription(
        ui->locationLabel2 ? ui->locationLabel1->property(FullTextProperty).toString() + " - "
                + ui->locationLabel2->property(FullTextProperty).toString()
                           : ui->locationLabel1->property(FullTextProperty).toString());
}

void VPNServerItem::elide(QWidget *widget)
{
    auto *label = static_cast<QLabel *>(widget);
    const QString full = label->property(FullTextProperty).toString();
    // Before the first layout the label has no width yet: the text goes in whole and is cut
    // when the row gets its size.
    const int width = label->width() > 1 ? label->width() : 0;
    label->setText(width > 0 ? label->fontMetrics().elidedText(full, Qt::ElideRight, width)
                             : full.left(300));
}

void VPNServerItem::setFlag(const QString &path, const VPNServerType &which)
{
    setFlagDisc(path, which == Srv_First ? ui->flagLabel1 : ui->flagLabel2);
}

void VPNServerItem::setId(const int &firstId, const int &secondId)
{
    m_firstId = firstId;
    m_secondId = secondId;
    ui->favoriteButton->setProperty("id", firstId);
}

void VPNServerItem::setFavorite(bool favorite)
{
    ui->favoriteButton->setChecked(favorite);
}

void VPNServerItem::toggleFavorite()
{
    ui->favoriteButton->click();
}

bool VPNServerItem::isFavorite() const
{
    return ui->favoriteButton->isChecked();
}

void VPNServerItem::selectionStateChanged(bool isSelected)
{
    m_selected = isSelected;
    setStateProperty(m_selectProperty, isSelected);
}

void VPNServerItem::favoriteStateChanged(int id, bool state)
{
    if (id == m_firstId)
        ui->favoriteButton->setChecked(state);
}

void VPNServerItem::setStateProperty(const QByteArray &name, bool value)
{
    for (QWidget *widget :
         {static_cast<QWidget *>(ui->bgWidget), static_cast<QWidget *>(ui->locationLabel1),
          static_cast<QWidget *>(ui->favoriteButton), ui->flagWidget1,
          static_cast<QWidget *>(ui->locationLabel2), ui->flagWidget2}) {
        if (!widget)
            continue;
        widget->setProperty(name.constData(), value);
        // The style sheet selects on the property: it applies again only after a re-polish.
        widget->style()->unpolish(widget);
        widget->style()->polish(widget);
    }
}

bool VPNServerItem::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == this) {
        if (event->type() == QEvent::Enter)
            setStateProperty(m_hoverProperty, true);
        else if (event->type() == QEvent::Leave)
            setStateProperty(m_hoverProperty, false);
    } else if (event->type() == QEvent::Resize) {
        elide(static_cast<QWidget *>(watched));
    }
    return QWidget::eventFilter(watched, event);
}
