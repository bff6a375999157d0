#include "changes/SceneComparison.h"

#include "platform/Sjis.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <string_view>
#include <unordered_map>

namespace {

using Kind = SceneVersion::Kind;
using Lines = std::vector<SceneVersion::Line>;

const Lines& linesOf(const SceneVersion* version)
{
    static const Lines none;
    return version ? version->lines : none;
}

// What became of the lines of both versions: for each line the index of its
// partner on the other side (-1: none), and the change reported at it.
struct Matching {
    std::vector<int> oldPartner;
    std::vector<int> newPartner;
    std::vector<int> newChange; // index into changes, -1 none
    std::vector<LineChange> changes;
};

class Comparer {
public:
    Comparer(const SceneComparison::Scene& scene, bool notes)
        : m_scene(scene), m_old(linesOf(scene.oldVersion)), m_new(linesOf(scene.newVersion)),
          m_notes(notes)
    {
        m_match.oldPartner.assign(m_old.size(), -1);
        m_match.newPartner.assign(m_new.size(), -1);
        m_match.newChange.assign(m_new.size(), -1);
    }

    void run(std::vector<LineChange>& out)
    {
        matchNumbered();
        matchByPosition(Kind::Unnumbered);
        matchByPosition(Kind::Note);
        emit(out);
    }

private:
    LineChange make(LineChange::Kind kind, const SceneVersion::Line* before,
                    const SceneVersion::Line* after) const
    {
        LineChange change;
        change.kind = kind;
        const SceneVersion::Line& named = after ? *after : *before;
        change.number = named.label;
        change.character = named.character;
        change.scene = m_scene.sceneName;
        change.fileName = m_scene.fileName;
        if (before)
            change.oldText = before->text;
        if (after) {
            change.newText = after->text;
            change.newBodyLine = after->bodyLine;
            change.speaker = after->speaker;
        }
        return change;
    }

    void pair(int oldIndex, int newIndex)
    {
        m_match.oldPartner[std::size_t(oldIndex)] = newIndex;
        m_match.newPartner[std::size_t(newIndex)] = oldIndex;
        const SceneVersion::Line& before = m_old[std::size_t(oldIndex)];
        const SceneVersion::Line& after = m_new[std::size_t(newIndex)];
        std::optional<LineChange::Kind> kind;
        if (after.kind == Kind::Note) {
            if (before.text != after.text)
                kind = LineChange::Kind::NoteChanged;
        } else if (before.character != after.character) {
            kind = LineChange::Kind::Reassigned;
        } else if (before.text != after.text) {
            kind = LineChange::Kind::Changed;
        }
        if (kind)
            report(newIndex, make(*kind, &before, &after));
    }

    void report(int newIndex, LineChange change)
    {
        if (change.kind == LineChange::Kind::NoteChanged && !m_notes)
            return;
        m_match.newChange[std::size_t(newIndex)] = int(m_match.changes.size());
        m_match.changes.push_back(std::move(change));
    }

    void matchNumbered()
    {
        // The n-th old line of a number waits for the n-th new one.
        std::unordered_map<uint64_t, std::deque<int>> waiting;
        for (int i = 0; i < int(m_old.size()); ++i) {
            if (m_old[std::size_t(i)].kind == Kind::Numbered)
                waiting[*m_old[std::size_t(i)].number].push_back(i);
        }
        std::vector<int> leftNew;
        for (int j = 0; j < int(m_new.size()); ++j) {
            const SceneVersion::Line& line = m_new[std::size_t(j)];
            if (line.kind != Kind::Numbered)
                continue;
            auto found = waiting.find(*line.number);
            if (found == waiting.end() || found->second.empty()) {
                leftNew.push_back(j);
                continue;
            }
            pair(found->second.front(), j);
            found->second.pop_front();
        }
        // A new number for an old line: the same speaker and text among the
        // old lines whose number is gone.
        std::unordered_map<std::string, std::deque<int>> gone;
        for (int i = 0; i < int(m_old.size()); ++i) {
            const SceneVersion::Line& line = m_old[std::size_t(i)];
            if (line.kind == Kind::Numbered && m_match.oldPartner[std::size_t(i)] < 0)
                gone[identity(line)].push_back(i);
        }
        for (int j : leftNew) {
            const SceneVersion::Line& line = m_new[std::size_t(j)];
            auto found = gone.find(identity(line));
            if (found == gone.end() || found->second.empty()) {
                report(j, make(LineChange::Kind::Added, nullptr, &line));
                continue;
            }
            const int i = found->second.front();
            found->second.pop_front();
            m_match.oldPartner[std::size_t(i)] = j;
            m_match.newPartner[std::size_t(j)] = i;
            LineChange change = make(LineChange::Kind::Renumbered, &m_old[std::size_t(i)], &line);
            change.number = m_old[std::size_t(i)].label + Sjis::of("→") + line.label;
            report(j, std::move(change));
        }
    }

    static std::string identity(const SceneVersion::Line& line)
    {
        std::string key = line.character;
        key.push_back('\0');
        key += line.text;
        return key;
    }

    void matchByPosition(Kind kind)
    {
        std::vector<int> olds, news;
        for (int i = 0; i < int(m_old.size()); ++i) {
            if (m_old[std::size_t(i)].kind == kind)
                olds.push_back(i);
        }
        for (int j = 0; j < int(m_new.size()); ++j) {
            if (m_new[std::size_t(j)].kind == kind)
                news.push_back(j);
        }
        const std::size_t common = std::min(olds.size(), news.size());
        for (std::size_t k = 0; k < common; ++k)
            pair(olds[k], news[k]);
        const LineChange::Kind added =
            kind == Kind::Note ? LineChange::Kind::NoteChanged : LineChange::Kind::Added;
        for (std::size_t k = common; k < news.size(); ++k)
            report(news[k], make(added, nullptr, &m_new[std::size_t(news[k])]));
    }

    void emit(std::vector<LineChange>& out)
    {
        // Each old line left alone is deleted after the new partner of the
        // nearest kept line before it (or at the scene's start).
        std::vector<std::vector<int>> deletedAfter(m_new.size() + 1);
        int anchor = -1;
        for (int i = 0; i < int(m_old.size()); ++i) {
            const int partner = m_match.oldPartner[std::size_t(i)];
            if (partner >= 0) {
                anchor = partner;
                continue;
            }
            const SceneVersion::Line& line = m_old[std::size_t(i)];
            if (line.kind == Kind::Note && !m_notes)
                continue;
            const LineChange::Kind kind =
                line.kind == Kind::Note ? LineChange::Kind::NoteChanged : LineChange::Kind::Deleted;
            deletedAfter[std::size_t(anchor + 1)].push_back(int(m_match.changes.size()));
            m_match.changes.push_back(make(kind, &line, nullptr));
        }
        for (int c : deletedAfter[0])
            out.push_back(std::move(m_match.changes[std::size_t(c)]));
        for (std::size_t j = 0; j < m_new.size(); ++j) {
            if (const int c = m_match.newChange[j]; c >= 0)
                out.push_back(std::move(m_match.changes[std::size_t(c)]));
            for (int d : deletedAfter[j + 1])
                out.push_back(std::move(m_match.changes[std::size_t(d)]));
        }
    }

    const SceneComparison::Scene& m_scene;
    const Lines& m_old;
    const Lines& m_new;
    bool m_notes;
    Matching m_match;
};

} // namespace

void SceneComparison::compare(const Scene& scene, bool notes, std::vector<LineChange>& changes)
{
    Comparer(scene, notes).run(changes);
}
