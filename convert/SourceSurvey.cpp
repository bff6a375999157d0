#include "convert/SourceSurvey.h"

#include "convert/ConversionState.h"
#include "convert/SourceCollection.h"
#include "convert/SourceLine.h"
#include "fc/Diagnostic.h"
#include "fc/FCFileEnumeration.h"
#include "platform/Sjis.h"

void SourceSurvey::surveyFolder(ConversionState& state, const FCString& folder,
                                bool includeSubfolders, const Message& message)
{
    std::set<std::string> visited;
    walk(state, SourceCollection::folderPath(folder), includeSubfolders, message, visited);
}

void SourceSurvey::walk(ConversionState& state, const FCString& folder, bool includeSubfolders,
                        const Message& message, std::set<std::string>& visited)
{
    if (folder.isEmpty() || !SourceCollection::firstVisit(visited, folder))
        return;
    if (includeSubfolders) {
        FCString all(folder);
        all << "*";
        FCFileEnumeration folders(all.text());
        while (folders.nextFolder())
            walk(state, folders.currentPath(), true, message, visited);
    }
    FCString wanted(folder);
    wanted << "*.cpp";
    FCFileEnumeration files(wanted.text());
    while (files.next()) {
        if (files.isFolder())
            continue;
        if (message) {
            FCString shown(files.currentName());
            shown << Sjis::of("出力中...");
            message(shown);
        }
        FCString text;
        try {
            text.loadFile(files.currentPath().text());
        } catch (const Diagnostic&) {
            continue;
        }
        surveyText(state, text, files.currentName());
    }
}

void SourceSurvey::surveyText(ConversionState& state, const FCString& text,
                              const FCString& fileName)
{
    state.beginFile();
    std::size_t at = 0;
    std::string_view line;
    while (SourceLine::nextLine(text.view(), at, line))
        state.surveyLine(SourceLine(line), fileName);
}
