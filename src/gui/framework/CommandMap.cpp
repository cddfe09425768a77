#include "gui/framework/CommandMap.h"

#include <algorithm>

namespace tovin {

namespace {

size_t Index(ECommand id) {
    return static_cast<size_t>(id);
}

template <typename T> T& Slot(std::vector<T>& slots, ECommand id) {
    if (slots.size() <= Index(id)) {
        slots.resize(Index(id) + 1);
    }
    return slots[Index(id)];
}

template <typename T> const T* Find(const std::vector<T>& slots, ECommand id) {
    return Index(id) < slots.size() && slots[Index(id)] ? &slots[Index(id)] : nullptr;
}

} // namespace

void CCommandMap::OnCommand(ECommand id, FHandler handler) {
    Slot(m_handlers, id) = std::move(handler);
}

void CCommandMap::OnUpdate(ECommand id, FUpdate update) {
    Slot(m_updates, id) = std::move(update);
}

void CCommandMap::OnEnable(ECommand id, std::function<bool()> enabled) {
    OnUpdate(id, [enabled = std::move(enabled)] { return SCommandState{enabled(), {}}; });
}

const CCommandMap::FHandler* CCommandMap::Handler(ECommand id) const {
    return Find(m_handlers, id);
}

const CCommandMap::FUpdate* CCommandMap::Update(ECommand id) const {
    return Find(m_updates, id);
}

CCommandRoute::CCommandRoute(std::vector<const CCommandTarget*> targets) {
    for (const CCommandTarget* target : targets) {
        if (target) {
            m_targets.push_back(target);
        }
    }
}

SCommandState CCommandRoute::State(ECommand id) const {
    const bool handled = std::any_of(m_targets.begin(), m_targets.end(), [id](const auto* target) {
        return target->CommandMap().Handler(id) != nullptr;
    });
    for (const CCommandTarget* target : m_targets) {
        if (const auto* update = target->CommandMap().Update(id)) {
            SCommandState state = (*update)();
            state.enabled = state.enabled && handled;
            return state;
        }
    }
    return {handled, {}};
}

bool CCommandRoute::Execute(ECommand id) const {
    if (!State(id).enabled) {
        return false;
    }
    for (const CCommandTarget* target : m_targets) {
        if (const auto* handler = target->CommandMap().Handler(id)) {
            // A copy: the handler may close the window whose map holds it.
            auto run = *handler;
            run();
            return true;
        }
    }
    return false;
}

} // namespace tovin
