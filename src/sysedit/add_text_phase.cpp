#include "sysedit/add_text_phase.h"

#include "lexical/path_text.h"
#include "sysedit/add_text_rewrite.h"

namespace kestrel::sysedit {

EditOutcome applyTextInsertion(const TextInsertion& insertion,
                               const lexical::MacroVariables& macros, EditServices& services) {
    const AddTextRequest request = addTextRequest(insertion, macros);
    if (request.file.empty())
        return EditOutcome::Unchanged;
    RewriteTarget target;
    target.path = lexical::pathInDirectory(request.file, macros.defaultDir());
    return rewriteFile(services, target, [&](std::string_view original, bool existed) {
        return rewriteAddText(original, !existed, request);
    });
}

void runAddTextPhase(const std::vector<TextInsertion>& insertions,
                     const lexical::MacroVariables& macros, EditServices& services) {
    for (const TextInsertion& insertion : insertions)
        applyTextInsertion(insertion, macros, services);
}

} // namespace kestrel::sysedit
