#include "dragpayload.h"

#include "draggeneration.h"

#include <QCoreApplication>

#include <atomic>

namespace {

// The bytes only name the format for the window system: the receiving side trusts the object, never them.
QByteArray Label()
{
    static std::atomic<std::uint64_t> serial{0};
    return QByteArray::number(QCoreApplication::applicationPid()) + ' ' + QByteArray::number(++serial);
}

} // namespace

TdragPayload::TdragPayload(const TdragGeneration& generation, bool fromTree)
    : token_(generation.Token()), generation_(generation.Value()), fromTree_(fromTree)
{
    setData(kMimeType, Label());
}

TdragPayload::TdragPayload(const TdragGeneration& generation, std::vector<int> rows)
    : TdragPayload(generation, false)
{
    rows_ = std::move(rows);
}

TdragPayload::TdragPayload(const TdragGeneration& generation, std::vector<Node> nodes)
    : TdragPayload(generation, true)
{
    nodes_ = std::move(nodes);
}

const TdragPayload* TdragPayload::From(const QMimeData* data)
{
    return qobject_cast<const TdragPayload*>(data);
}

bool TdragPayload::IsCurrent() const
{
    const std::shared_ptr<const std::uint64_t> now = token_.lock();
    return now && *now == generation_;
}

bool TdragPayload::NodesIn(TnodeKinds kinds) const
{
    for (const Node& node : nodes_)
        if (!Has(kinds, node.Kind))
            return false;
    return true;
}

void TdragPayload::SetDropped(QObject* target, QPoint at) const
{
    target_ = target;
    dropPoint_ = at;
}
