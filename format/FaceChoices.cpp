#include "format/FaceChoices.h"

#include "platform/FontEngine.h"
#include "platform/Sjis.h"
#include "platform/TextCodec.h"

#include <algorithm>

FaceChoices::FaceChoices(std::vector<std::string> installed, const std::vector<std::string>& named,
                         PrintedBy printedBy)
{
    std::sort(installed.begin(), installed.end());
    installed.erase(std::unique(installed.begin(), installed.end()), installed.end());
    if (!printedBy)
        printedBy = &FaceChoices::printedByFontEngine;

    for (const std::string& face : named) {
        if (face.empty() || std::binary_search(installed.begin(), installed.end(), face) ||
            indexOf(face) >= 0)
            continue;
        // The name stays as the format has it; only the label says what
        // becomes of it here.
        const std::string family = printedBy(face);
        std::string label = face;
        if (family.empty()) {
            label += Sjis::of("（この環境では印刷できません）");
        } else {
            label += Sjis::of("（");
            label += family;
            label += Sjis::of(" で印刷）");
        }
        m_faces.push_back(face);
        m_labels.push_back(std::move(label));
    }
    for (std::string& face : installed) {
        m_labels.push_back(face);
        m_faces.push_back(std::move(face));
    }
}

int FaceChoices::indexOf(std::string_view face) const
{
    const auto found = std::find(m_faces.begin(), m_faces.end(), face);
    return found == m_faces.end() ? -1 : static_cast<int>(found - m_faces.begin());
}

std::string FaceChoices::printedByFontEngine(std::string_view face)
{
    return TextCodec::fromUtf8(FontEngine::instance().printingFamily(std::string(face)));
}
