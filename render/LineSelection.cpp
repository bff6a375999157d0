#include "render/LineSelection.h"

const LineSelection::Lines* LineSelection::Scene::linesOf(std::string_view character) const
{
    const auto found = m_characters.find(character);
    return found == m_characters.end() ? nullptr : &found->second;
}

void LineSelection::select(std::string_view sceneFile, std::string_view character, int bodyLine)
{
    if (bodyLine < 0)
        return;
    auto scene = m_scenes.find(sceneFile);
    if (scene == m_scenes.end())
        scene = m_scenes.emplace(std::string(sceneFile), Scene()).first;
    auto lines = scene->second.m_characters.find(character);
    if (lines == scene->second.m_characters.end())
        lines = scene->second.m_characters.emplace(std::string(character), Lines()).first;
    if (lines->second.insert(bodyLine).second)
        ++m_lineCount;
}

const LineSelection::Scene* LineSelection::scene(std::string_view sceneFile) const
{
    const auto found = m_scenes.find(sceneFile);
    return found == m_scenes.end() ? nullptr : &found->second;
}
