#include "movie_player.h"

#include <algorithm>

#include "stage_renderer.h"

namespace quib::player {

namespace {

// The work of one step (a frame shown, a jump, a click) is bounded whatever the movie's actions
// do: frames entered by chained jumps, and actions run.
constexpr int MaxChainedJumps = 64;
constexpr int MaxActionsPerStep = 1 << 16;

bool shapeContains(const ShapeCharacter& shape, const Transform& toStage, PointF point) {
    bool invertible = false;
    const Transform toShape = toStage.inverted(&invertible);
    if (!invertible)
        return false;
    const PointF local = toShape.map(point);
    if (shape.fills.empty())
        return shape.bounds.contains(local);
    return std::any_of(shape.fills.begin(), shape.fills.end(),
                       [&](const ShapeCharacter::Fill& f) { return f.path.contains(local); });
}

}  // namespace

MoviePlayer::MoviePlayer(std::shared_ptr<const MovieData> movie) : m_movie(std::move(movie)) {
    m_actionBudget = MaxActionsPerStep;
    showFrame(0);
    runFrameActions(0);
    runPendingFrames();
}

void MoviePlayer::showFrame(int n) {
    n = std::clamp(n, 0, frameCount() - 1);
    int from = m_current + 1;
    if (n < m_current || m_current < 0) {
        m_stage.clear();
        from = 0;
    }
    for (int f = from; f <= n; ++f) {
        for (const FrameCommand& command : m_movie->frames[size_t(f)].commands) {
            if (auto* place = std::get_if<PlaceCommand>(&command))
                m_stage.apply(*place);
            else if (auto* remove = std::get_if<RemoveCommand>(&command))
                m_stage.apply(*remove);
            else if (auto* background = std::get_if<BackgroundCommand>(&command))
                m_stage.setBackground(background->color);
        }
    }
    m_current = n;
}

void MoviePlayer::runFrameActions(int n) {
    for (const FrameCommand& command : m_movie->frames[size_t(n)].commands)
        if (auto* actions = std::get_if<ActionCommand>(&command))
            runActions(actions->actions);
}

void MoviePlayer::runActions(const ActionList& actions) {
    // Jumps only choose the frame; the display list is built once, for the last of them.
    int frame = m_current;
    auto jump = [&](int target) {
        frame = std::clamp(target, 0, frameCount() - 1);
        m_playing = false;
    };
    for (const Action& action : actions) {
        if (m_actionBudget <= 0)
            break;
        --m_actionBudget;
        switch (action.kind) {
            case Action::Kind::Play:
                m_playing = true;
                break;
            case Action::Kind::Stop:
                m_playing = false;
                break;
            case Action::Kind::GotoFrame:
                jump(action.frame);
                break;
            case Action::Kind::NextFrame:
                jump(frame + 1);
                break;
            case Action::Kind::PreviousFrame:
                jump(frame - 1);
                break;
            case Action::Kind::Unknown:
                break;
        }
    }
    if (frame != m_current) {
        showFrame(frame);
        m_pendingFrame = frame;
    }
}

void MoviePlayer::runPendingFrames() {
    for (int i = 0; i < MaxChainedJumps && m_pendingFrame; ++i) {
        int frame = *m_pendingFrame;
        m_pendingFrame.reset();
        runFrameActions(frame);
    }
    m_pendingFrame.reset();
}

bool MoviePlayer::advance() {
    if (!m_playing)
        return false;
    m_actionBudget = MaxActionsPerStep;
    if (m_current + 1 >= frameCount()) {
        m_playing = false;
        return false;
    }
    showFrame(m_current + 1);
    runFrameActions(m_current);
    runPendingFrames();
    return true;
}

void MoviePlayer::gotoFrame(int n) {
    n = std::clamp(n, 0, frameCount() - 1);
    m_playing = false;
    m_actionBudget = MaxActionsPerStep;
    showFrame(n);
    runFrameActions(n);
    runPendingFrames();
}

std::optional<uint16_t> MoviePlayer::buttonAt(PointF point) const {
    const auto& objects = m_stage.objects();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        const auto* button = std::get_if<ButtonCharacter>(m_movie->character(it->second.characterId));
        if (!button)
            continue;
        for (const ButtonRecord& record : button->records) {
            if (!record.hit)
                continue;
            const auto* shape = std::get_if<ShapeCharacter>(m_movie->character(record.characterId));
            if (shape && shapeContains(*shape, record.matrix * it->second.matrix, point))
                return it->first;
        }
    }
    return std::nullopt;
}

bool MoviePlayer::click(PointF point) {
    std::optional<uint16_t> depth = buttonAt(point);
    if (!depth)
        return false;
    // Keep the button alive while its actions change the display list.
    auto character = m_movie->characters.at(m_stage.at(*depth)->characterId);
    m_actionBudget = MaxActionsPerStep;
    const auto& button = std::get<ButtonCharacter>(*character);
    for (uint16_t condition : {CondOverUpToOverDown, CondOverDownToOverUp}) {
        for (const ButtonCondAction& cond : button.actions)
            if (cond.conditions & condition)
                runActions(cond.actions);
        runPendingFrames();
    }
    return true;
}

void MoviePlayer::render(Picture& picture) const {
    renderStage(*m_movie, m_stage, picture);
}

}  // namespace quib::player
