#pragma once

#include "voices/Delivery.h"
#include "voices/SpeakerLines.h"
#include "voices/VoiceCheck.h"
#include "voices/VoiceReport.h"
#include "voices/VoiceSortPlan.h"

#include <string>
#include <vector>

class LineSelection;
class Progress;
class Quillon;
class ScriptCatalogue;
class SuppressedCharacters;
class VoiceNumberPattern;

// The speaker lines of the loaded scenario's ticked scenes checked against a
// studio's delivery of voice files: what the voices command and the window's
// check share. Lines of suppressed characters are left out (they get no
// scripts, so nothing is recorded for them); the table lists the characters
// in the order of the word counts. A scene without a name of its own goes by
// its file name.
class DeliveryCheck {
public:
    // Reads the lines of the application's ticked scenes.
    explicit DeliveryCheck(const Quillon& app);
    // The same for a catalogue of the scenario folder (CP932, ending with
    // "/"); characterOrder: the table's order of characters (any when empty).
    DeliveryCheck(const ScriptCatalogue& catalogue, const std::string& folder,
                  const SuppressedCharacters& suppressed,
                  std::vector<std::string> characterOrder = {});
    virtual ~DeliveryCheck();

    DeliveryCheck(const DeliveryCheck&) = delete;
    DeliveryCheck& operator=(const DeliveryCheck&) = delete;

    const std::vector<SceneFile>& scenes() const { return m_scenes; }
    // A scene's file name in the folder, as the catalogue lists it.
    const std::string& fileName(int scene) const { return m_fileNames[std::size_t(scene)]; }
    // Indexes into scenes() of the files that could not be read: their lines
    // are not checked.
    const std::vector<int>& unreadableScenes() const { return m_unreadable; }
    const std::vector<SpeakerLine>& lines() const { return m_lines; }

    // Walks the delivery folder (native, absolute) with a progress of its
    // own title; excluded, when not empty, is a folder never to enter. 0, or
    // the errno of a delivery folder that cannot be read; a cancel ends the
    // walk with cancelled set.
    int scan(const std::string& deliveryFolder, const VoiceNumberPattern& pattern,
             const std::string& excluded, Progress& progress, bool& cancelled);
    // Probes the files whose numbers belong to lines (every frame read with
    // checkContent) and gives every line its state. False when cancelled.
    bool check(bool checkContent, Progress& progress);

    const std::string& deliveryFolder() const { return m_deliveryFolder; }
    const Delivery& delivery() const { return m_delivery; }
    const VoiceCheck::Result& result() const { return m_result; }

    // The lines the check found unrecorded (no file, or broken files only)
    // as the selection of a print run of what is missing, with its header
    // suffix; scenes are named by their file names, as the run asks for
    // them. The selection is emptied first; the number of lines chosen.
    int selectMissing(LineSelection& selection) const;
    // The header suffix of the scripts of missing lines (CP932).
    static const char* missingHeaderSuffix();

    // What the reports and the sorting take; valid while this object lives.
    VoiceReport::Input report() const;
    VoiceSortPlan::Input sortPlan(const std::string& destination, bool byScene) const;

private:
    std::vector<SceneFile> m_scenes;
    // The scenes' file names in the folder, as the catalogue lists them.
    std::vector<std::string> m_fileNames;
    std::vector<std::string> m_sceneNames;
    std::vector<int> m_unreadable;
    std::vector<SpeakerLine> m_lines;
    std::vector<std::string> m_characterOrder;
    std::string m_deliveryFolder;
    Delivery m_delivery;
    VoiceCheck::Result m_result;
};
