#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

namespace Ui {
class VPNServerItem;
}

// One row of a server list: a flag disc (two overlapping ones for a double route), the
// location text and a star that marks the location or the pair as a favourite.
class VPNServerItem : public QWidget
{
    Q_OBJECT

public:
    enum VPNServerSubType { Sub_Premium, Sub_Double };
    enum VPNServerListType { List_Premium, List_PremiumFavorite, List_Double, List_DoubleFavorite };
    enum VPNServerType { Srv_First, Srv_Second };

    VPNServerItem(const VPNServerSubType &subType, const VPNServerListType &listType,
                  QWidget *parent = nullptr);
    ~VPNServerItem() override;

    // Location texts are shown as plain text, cut short with an ellipsis where the row ends.
    void setText(const QString &text, const VPNServerType &which);
    void setFlag(const QString &path, const VPNServerType &which);
    void setId(const int &firstId, const int &secondId);
    void setFavorite(bool favorite);

    int firstId() const { return m_firstId; }
    int secondId() const { return m_secondId; }
    VPNServerListType listType() const { return m_listType; }
    VPNServerSubType subType() const { return m_subType; }
    bool isFavorite() const;
    bool isSelected() const { return m_selected; }
    // The star, as the keyboard's Space works it.
    void toggleFavorite();

signals:
    void favoriteButtonClicked();

public slots:
    void selectionStateChanged(bool isSelected);
    void favoriteStateChanged(int id, bool state);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void layOutSingle();
    void layOutDouble();
    void setStateProperty(const QByteArray &name, bool value);
    void elide(QWidget *label);

    Ui::VPNServerItem *ui;
    VPNServerSubType m_subType;
    VPNServerListType m_listType;
    int m_firstId = -1;
    int m_secondId = -1;
    bool m_selected = false;
    QByteArray m_hoverProperty;
    QByteArray m_selectProperty;
};
