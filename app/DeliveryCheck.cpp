#include "app/DeliveryCheck.h"

#include "app/Quillon.h"
#include "fc/FCXListIterator.h"
#include "fc/Progress.h"
#include "platform/AudioProbe.h"
#include "platform/Sjis.h"
#include "render/LineSelection.h"
#include "reports/CheckListText.h"
#include "voices/DeliveryScan.h"

namespace {

std::vector<std::string> wordCountOrder(const Quillon& app)
{
    std::vector<std::string> order;
    FCXListIterator<FCIdString> walk(app.scenarioTotals().characters());
    while (const FCIdString* character = walk.next())
        order.emplace_back(character->view());
    return order;
}

} // namespace

DeliveryCheck::DeliveryCheck(const Quillon& app)
    : DeliveryCheck(app.catalogue(), std::string(app.scenarioFolder().view()),
                    app.suppressedCharacters(), wordCountOrder(app))
{
}

DeliveryCheck::DeliveryCheck(const ScriptCatalogue& catalogue, const std::string& folder,
                             const SuppressedCharacters& suppressed,
                             std::vector<std::string> characterOrder)
    : m_characterOrder(std::move(characterOrder))
{
    for (int i = 0; i < catalogue.count(); ++i) {
        if (!catalogue.isTicked(i))
            continue;
        const std::string file(catalogue.fileName(i).view());
        std::string scene(catalogue.record(i).sceneName().view());
        if (scene.empty())
            scene = CheckListText::sceneName(file);
        m_scenes.push_back({folder + file, scene});
        m_fileNames.push_back(file);
        m_sceneNames.push_back(std::move(scene));
    }
    SpeakerLines::Result read = SpeakerLines::read(m_scenes);
    m_unreadable = std::move(read.unreadable);
    for (SpeakerLine& line : read.lines) {
        if (!suppressed.contains(line.character))
            m_lines.push_back(std::move(line));
    }
}

DeliveryCheck::~DeliveryCheck() = default;

int DeliveryCheck::scan(const std::string& deliveryFolder, const VoiceNumberPattern& pattern,
                        const std::string& excluded, Progress& progress, bool& cancelled)
{
    m_deliveryFolder = deliveryFolder;
    m_delivery = {};
    m_result = {};
    progress.setTitle(Sjis::of("納品音声の確認"));
    progress.setText(Sjis::of("納品フォルダを調べています。"));
    progress.open(true);
    const int error =
        DeliveryScan::scan(deliveryFolder, pattern, excluded, progress, m_delivery, cancelled);
    progress.close();
    return error;
}

bool DeliveryCheck::check(bool checkContent, Progress& progress)
{
    m_result = VoiceCheck::run(
        m_lines, m_delivery, m_characterOrder,
        [&](const DeliveredFile& file) {
            return AudioProbe::probe(m_deliveryFolder + "/" + file.path, checkContent);
        },
        progress);
    return !m_result.cancelled;
}

int DeliveryCheck::selectMissing(LineSelection& selection) const
{
    selection = LineSelection();
    selection.setHeaderSuffix(missingHeaderSuffix());
    int chosen = 0;
    for (std::size_t i = 0; i < m_lines.size() && i < m_result.lines.size(); ++i) {
        const VoiceCheck::State state = m_result.lines[i].state;
        if (state != VoiceCheck::State::Missing && state != VoiceCheck::State::Broken)
            continue;
        const SpeakerLine& line = m_lines[i];
        selection.select(m_fileNames[std::size_t(line.scene)], line.character, line.bodyLine);
        ++chosen;
    }
    return chosen;
}

const char* DeliveryCheck::missingHeaderSuffix()
{
    return Sjis::of("未収録");
}

VoiceReport::Input DeliveryCheck::report() const
{
    return {m_lines, m_sceneNames, m_delivery, m_result};
}

VoiceSortPlan::Input DeliveryCheck::sortPlan(const std::string& destination, bool byScene) const
{
    return {m_lines, m_sceneNames, m_delivery, m_result, m_deliveryFolder, destination, byScene};
}
