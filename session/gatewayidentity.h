#pragma once

#include <QJsonObject>
#include <QString>

// What tells one gateway from another: the model code it reports, its gateway ID
// and the MAC address of its device information. A cable moved to another gateway
// while the adapter was out must not carry one gateway's settings onto the other.
class GatewayIdentity
{
public:
    int model = -1;
    QString gatewayId;
    QString mac;

    bool isKnown() const;
    // Takes what a settings document tells; what it leaves out stays as it was.
    void takeDocument(const QJsonObject &document);
    // True when a fact that both sides know differs.
    bool differsFrom(const GatewayIdentity &other) const;
    // The gateway ID, else the MAC address.
    QString name() const;
};
