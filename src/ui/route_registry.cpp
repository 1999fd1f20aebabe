#include "ui/route_registry.h"

#include <algorithm>

#include "ui/lookup.h"

namespace zrv::ui {
namespace {

bool SameName(const Route& route, QStringView name) {
  return name.compare(route.name, route.case_sensitive ? Qt::CaseSensitive : Qt::CaseInsensitive) == 0;
}

}  // namespace

int RouteRegistry::Add(Owner owner, Route route) {
  const int id = next_id_++;
  entries_.push_back({id, owner, std::move(route)});
  return id;
}

int RouteRegistry::AddName(Owner owner, const char* type, const char* name, RouteHandler handler, bool case_sensitive) {
  return Add(owner, {QString::fromLatin1(type), QString::fromLatin1(name), std::move(handler), false, case_sensitive});
}

int RouteRegistry::AddPrefix(Owner owner, const char* type, const char* prefix, RouteHandler handler) {
  return Add(owner, {QString::fromLatin1(type), QString::fromLatin1(prefix), std::move(handler), true, false});
}

void RouteRegistry::Remove(int id) {
  std::erase_if(entries_, [id](const Entry& entry) { return entry.id == id; });
}

void RouteRegistry::RemoveOwner(Owner owner) {
  std::erase_if(entries_, [owner](const Entry& entry) { return entry.owner == owner; });
}

std::vector<RouteRegistry::Found> RouteRegistry::Lookup(QStringView type, const QString& name,
                                                        std::span<const Owner> active) const {
  std::vector<Found> found;
  const auto candidate = [&](const Entry& entry, bool prefix) {
    return entry.route.prefix == prefix && entry.route.type == type &&
           std::find(active.begin(), active.end(), entry.owner) != active.end();
  };
  const NameNumber split = SplitNameNumber(name);
  if (!split.prefix.isEmpty()) {
    for (const Entry& entry : entries_) {
      if (candidate(entry, true) && SameName(entry.route, split.prefix)) found.push_back({&entry.route, split.number});
    }
  }
  for (const Entry& entry : entries_) {
    if (candidate(entry, false) && SameName(entry.route, name)) found.push_back({&entry.route, 0});
  }
  return found;
}

int RouteRegistry::Dispatch(const Notify& msg, const QString& name, std::span<const Owner> active) const {
  struct Call {
    RouteHandler handler;
    int number;
  };
  std::vector<Call> calls;
  for (const Found& found : Lookup(msg.type, name, active)) calls.push_back({found.route->handler, found.number});
  int run = 0;
  for (const Call& call : calls) {
    if (!call.handler) continue;
    call.handler(RouteHit{msg, call.number});
    ++run;
  }
  return run;
}

}  // namespace zrv::ui
