#include "ui/deferredpage.h"

#include <QCoreApplication>
#include <QStackedWidget>
#include <QVBoxLayout>

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
    m_page->setParent(this);
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
