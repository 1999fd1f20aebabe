#pragma once
// RouteRegistry: who handles the notifications of a window. The window, its pages and editors each
// add their own routes (notification type, control name or name prefix, handler) under an owner;
// the window looks a notification up among the owners that are active at that moment (itself
// always, a page while it is the current one) and runs what it finds.
//
// A sender name is split at its last underscore into the prefix (up to and including the
// underscore) and a decimal number (0 when the rest is no number). Prefix routes match first, then
// exact ones, each in the order they were added; every matching route runs. Names are compared
// without regard to case unless the route says otherwise.

#include <QString>
#include <QStringView>

#include <functional>
#include <span>
#include <vector>

#include "ui/notify.h"

namespace zrv::ui {

struct RouteHit {
  const Notify& msg;
  int number = 0;  // of a prefix + number name; 0 for an exact route
};

using RouteHandler = std::function<void(const RouteHit& hit)>;

struct Route {
  QString type;  // notification type (notify::kClick, ...; notify::kMenu for menu commands)
  QString name;  // the control name, or the prefix up to and including its last underscore
  RouteHandler handler;
  bool prefix = false;
  bool case_sensitive = false;
};

class RouteRegistry {
 public:
  // Whose a route is: the registering object's address; it is never dereferenced.
  using Owner = const void*;

  // Returns the route's id for Remove.
  int Add(Owner owner, Route route);
  // Shorthands for the common cases.
  int AddName(Owner owner, const char* type, const char* name, RouteHandler handler, bool case_sensitive = false);
  int AddPrefix(Owner owner, const char* type, const char* prefix, RouteHandler handler);
  void Remove(int id);
  void RemoveOwner(Owner owner);
  size_t Size() const { return entries_.size(); }

  // The routes of `active` owners that `name` matches for a notification of `type`, in the order
  // they run, with the number each is called with.
  struct Found {
    const Route* route = nullptr;
    int number = 0;
  };
  std::vector<Found> Lookup(QStringView type, const QString& name, std::span<const Owner> active) const;

  // Runs what Lookup finds for `msg` under `name`; returns the number of handlers run. A handler may
  // add or remove routes: the ones found run all the same.
  int Dispatch(const Notify& msg, const QString& name, std::span<const Owner> active) const;

 private:
  struct Entry {
    int id = 0;
    Owner owner = nullptr;
    Route route;
  };
  std::vector<Entry> entries_;
  int next_id_ = 1;
};

}  // namespace zrv::ui
