// Imported and typed formula text (clipboard, files, the editors): the import, the header
// sync, the colouring spans and 转换 must take any bytes without crashing, and every span
// must lie inside its line, in order.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formula_library/editor_logic.h"
#include "formula_library/external_import.h"
#include "formula_library/syntax_tokens.h"

namespace {

void CheckSpans(const std::string& text) {
  vorelin::CommentState state = vorelin::CommentState::kNone;
  for (const std::string& line : vorelin::SplitEditorLines(text)) {
    size_t end = 0;
    for (const vorelin::SyntaxSpan& span : vorelin::HighlightLine(line, state)) {
      if (span.start < end || span.start + span.length > line.size() || span.length == 0)
        std::abort();
      end = span.start + span.length;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const std::string input(reinterpret_cast<const char*>(data), size);
  CheckSpans(input);
  vorelin::ExternalFormula formula;
  std::string error;
  if (vorelin::ParseExternalFormula(input, formula, error)) {
    const vorelin::ImportedFormula imported = vorelin::ImportExternalFormula(formula);
    CheckSpans(imported.text);
    std::string text = vorelin::SyncNameLine(imported.text, imported.name,
                                             vorelin::EditorVariant::kTFedit);
    text = vorelin::SyncTitleLine(text, imported.description, vorelin::EditorVariant::kTEditFunc1);
    text = vorelin::SyncDrawKLine(text, size % 2 == 0);
    vorelin::FieldsFromText(text, {});
    vorelin::CompileForDisplay(vorelin::RemoveEmptyLines(text));
  }
  vorelin::ConvertProgramText(input);
  return 0;
}
