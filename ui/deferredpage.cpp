#include "ui/deferredpage.h"

#include <QCoreApplication>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <QVector>

DeferredPage::DeferredPage(QWidget *page)
    : m_page(page)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
}

DeferredPage *DeferredPage::defer(QStackedWidget *stack, QWidget *page)
{
    const int index = stack->indexOf(page);
    Q_ASSERT(index >= 0 && index != stack->currentIndex());
    auto *place = new DeferredPage(page);
    // The place stands in first, so the pages after it never change their index.
    stack->insertWidget(index, place);
    stack->removeWidget(page);
    page->setParent(nullptr);
    // Every widget asks to be polished once the event loop runs; the page's widgets are
    // polished when the page is first shown instead, in the window's style.
    QCoreApplication::removePostedEvents(page, QEvent::PolishRequest);
    for (QWidget *widget : page->findChildren<QWidget *>())
        QCoreApplication::removePostedEvents(widget, QEvent::PolishRequest);
    return place;
}

DeferredPage::~DeferredPage()
{
    if (!m_joined)
        delete m_page;
}

void DeferredPage::join()
{
    if (m_joined)
        return;
    m_joined = true;
    // A widget's own style sheet takes the fonts of the parent it is set under: the page's
    // own sheets are set again once the page is under the window, as they were set there.
    QVector<QPair<QWidget *, QString>> ownSheets;
    for (QWidget *widget : m_page->findChildren<QWidget *>()) {
        if (!widget->styleSheet().isEmpty())
            ownSheets.append({widget, widget->styleSheet()});
    }
    for (const auto &own : qAsConst(ownSheets))
        own.first->setStyleSheet(QString());
    // A widget that comes under a styled parent does not take that parent's font (the style
    // sheet sets fonts): the page takes the window's font while it is still unstyled.
    m_page->setFont(font());
    m_page->setParent(this);
    for (const auto &own : qAsConst(ownSheets))
        own.first->setStyleSheet(own.second);
    layout()->addWidget(m_page);
    // Laid out and styled before it is shown: a slide has already set the place's geometry,
    // and what is measured on the page before it is seen (a text cut to its label's width)
    // needs the window's fonts.
    m_page->setGeometry(rect());
    m_page->ensurePolished();
    m_page->show();
}

void DeferredPage::showEvent(QShowEvent *event)
{
    join();
    QWidget::showEvent(event);
}

QObject *DeferredPage::findNamed(const QWidget *window, const QString &name,
                                 const QMetaObject &type)
{
    QList<QObject *> roots {const_cast<QWidget *>(window)};
    for (DeferredPage *place : window->findChildren<DeferredPage *>()) {
        if (!place->hasJoined())
            roots << place->page();
    }
    for (QObject *root : roots) {
        if (root != window && root->objectName() == name && root->metaObject()->inherits(&type))
            return root;
        for (QObject *found : root->findChildren<QObject *>(name)) {
            if (found->metaObject()->inherits(&type))
                return found;
        }
    }
    return nullptr;
}
