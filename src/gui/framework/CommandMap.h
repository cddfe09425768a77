#pragma once
// Command handling in the order a user expects it: a command goes first to the active view,
// then its document, its frame, the main frame and the application. Each of them owns a
// CCommandMap that says which commands it carries out and, where it has a rule, when they are
// enabled. A command is enabled only when some target on the route carries it out, and then as
// the first rule on the route says (enabled when there is none): a command nobody on the route
// handles shows greyed, whatever a rule further along would allow.

#include <functional>
#include <optional>
#include <vector>

namespace tovin {

// The application defines its commands; the route only compares and indexes them.
enum class ECommand : int;

struct SCommandState {
    bool enabled = true;
    std::optional<bool> checked; // set for commands shown with a check mark
};

class CCommandMap {
public:
    using FHandler = std::function<void()>;
    using FUpdate = std::function<SCommandState()>;

    void OnCommand(ECommand id, FHandler handler);
    void OnUpdate(ECommand id, FUpdate update);
    // Shorthand for an enabling rule without a check mark.
    void OnEnable(ECommand id, std::function<bool()> enabled);

    const FHandler* Handler(ECommand id) const;
    const FUpdate* Update(ECommand id) const;

private:
    // Indexed by command, grown as commands are registered.
    std::vector<FHandler> m_handlers;
    std::vector<FUpdate> m_updates;
};

// Anything that can sit on a command route.
class CCommandTarget {
public:
    virtual ~CCommandTarget() = default;
    CCommandMap& CommandMap() { return m_commandMap; }
    const CCommandMap& CommandMap() const { return m_commandMap; }

private:
    CCommandMap m_commandMap;
};

// One route, most specific target first; null entries are skipped.
class CCommandRoute {
public:
    explicit CCommandRoute(std::vector<const CCommandTarget*> targets);

    SCommandState State(ECommand id) const;
    // Runs the first handler on the route when the command is enabled; false when nothing ran.
    bool Execute(ECommand id) const;

private:
    std::vector<const CCommandTarget*> m_targets;
};

} // namespace tovin
