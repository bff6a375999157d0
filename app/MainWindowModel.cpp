#include "app/MainWindowModel.h"

MainWindowModel::MainWindowModel(ScriptCatalogue& catalogue)
    : m_list(true), m_rows(catalogue, m_list)
{
}

MainWindowModel::~MainWindowModel() = default;

void MainWindowModel::setTotalCount(int32_t count)
{
    m_totalText.setNumber(count);
}

void MainWindowModel::setNoSpeakerCount(int32_t count)
{
    m_noSpeakerText.setNumber(count);
}

ScriptCatalogue::Display MainWindowModel::loadDisplay()
{
    ScriptCatalogue::Display display;
    display.started = [this](const FCString& folder) { setFolderText(folder.view()); };
    display.listed = [this](const std::vector<FCString>& fileNames) {
        std::vector<std::string_view> names;
        names.reserve(fileNames.size());
        for (const FCString& name : fileNames)
            names.push_back(name.view());
        m_list.foresee(CatalogueListBinding::ColumnFileName, names);
    };
    display.counted = [this](int32_t records, int32_t noSpeaker) {
        setTotalCount(records);
        setNoSpeakerCount(noSpeaker);
    };
    return display;
}
