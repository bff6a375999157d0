#include "document/ScriptCatalogueListener.h"

ScriptCatalogueListener::~ScriptCatalogueListener() = default;
