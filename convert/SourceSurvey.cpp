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
    SourceCollection::walk(SourceCollection::folderPath(folder), "*.cpp", includeSubfolders,
                           visited, [&](const FCString& path, const FCString& name) {
                               if (message) {
                                   FCString note(name);
                                   note << Sjis::of("出力中...");
                                   message(note);
                               }
                               FCString text;
                               try {
                                   text.loadFile(path.text());
                               } catch (const Diagnostic&) {
                                   return;
                               }
                               surveyText(state, text, name);
                           });
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
