#include "app/CommandMap.h"

namespace tovin {

namespace {

size_t Index(ECommand id) {
    return static_cast<size_t>(id);
}

} // namespace

void CCommandMap::OnCommand(ECommand id, FHandler handler) {
    m_handlers.at(Index(id)) = std::move(handler);
}

void CCommandMap::OnUpdate(ECommand id, FUpdate update) {
    m_updates.at(Index(id)) = std::move(update);
}

void CCommandMap::OnEnable(ECommand id, std::function<bool()> enabled) {
    OnUpdate(id, [enabled = std::move(enabled)] { return SCommandState{enabled(), {}}; });
}

const CCommandMap::FHandler* CCommandMap::Handler(ECommand id) const {
    const auto& handler = m_handlers.at(Index(id));
    return handler ? &handler : nullptr;
}

const CCommandMap::FUpdate* CCommandMap::Update(ECommand id) const {
    const auto& update = m_updates.at(Index(id));
    return update ? &update : nullptr;
}

CCommandRoute::CCommandRoute(std::vector<const CCommandTarget*> targets) {
    for (const CCommandTarget* target : targets) {
        if (target) {
            m_targets.push_back(target);
        }
    }
}

SCommandState CCommandRoute::State(ECommand id) const {
    for (const CCommandTarget* target : m_targets) {
        if (const auto* update = target->CommandMap().Update(id)) {
            return (*update)();
        }
    }
    for (const CCommandTarget* target : m_targets) {
        if (target->CommandMap().Handler(id)) {
            return {};
        }
    }
    return {false, {}};
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
