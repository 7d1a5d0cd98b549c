#include "services/ISubclass.h"

#include <unordered_map>

namespace {

struct Receivers {
    std::unordered_map<int32_t, ISubclass*> live;
    int32_t next = 1;
};

Receivers& receivers() {
    static Receivers* r = new Receivers;  // outlives every receiver, even those destroyed at exit
    return *r;
}

}  // namespace

ISubclass::ISubclass() : m_id(receivers().next++) { receivers().live.emplace(m_id, this); }

ISubclass::~ISubclass() { receivers().live.erase(m_id); }

ISubclass* ISubclass::FromSubclassId(int32_t id) {
    const auto& live = receivers().live;
    const auto found = live.find(id);
    return found == live.end() ? nullptr : found->second;
}
