// The readable form description kept in the source tree, parsed into the
// tree of form_data.h. The build compiles it into the binary resource.
//
//   // A comment runs to the end of the line.
//   fmMain: TfmMain {                      object: name, class, members
//     Left = 208                           integer (also -12, 0x28BF)
//     Scale = 1.25                         float (also -0.5, 2.5e-3)
//     Caption = 'El Quimora'               string, UTF-8 source
//     Text = 'line one\rline two' +        escapes \r \n \t \\ \' \u{1F600};
//            ' and more'                   '+' joins strings
//     Font.Style = [fsBold, fsItalic]      dotted name; a set of identifiers
//     Color = clBtnFace                    identifier (also True, False and
//     OnCreate = FormCreate                the handler bound to an event)
//     Lines = ('first', 'second')          list of values, trailing ',' allowed
//     Data = {hex 42 4D 36 00}             binary, hex digits and blanks
//     Picture = {file 'pictures/a.bmp'}    binary, a file beside the description
//     Panel1: TPanel { ... }               child object, in creation order
//   }
//
// A property may be given once per object and an object name once per
// description.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/exceptions.h"
#include "runtime/form_data.h"

namespace rt {

// A description that does not parse. The message starts with
// "source:line:column: "; lines and columns count from 1, columns in
// characters.
class EFormTextError : public Exception {
 public:
  EFormTextError(WideString message, int line, int column)
      : Exception(std::move(message)), line_(line), column_(column) {}
  int Line() const { return line_; }
  int Column() const { return column_; }

 private:
  int line_;
  int column_;
};

// Reads a file that a description names, given as written (relative to the
// description). It raises any exception to report that the file cannot be
// read.
using FormFileLoader = std::function<std::vector<uint8_t>(const std::string& path)>;

// sourceName only labels messages. Without a loader, file references are
// an error.
TFormObject ParseFormText(std::string_view text, std::string_view sourceName,
                          const FormFileLoader& loader = nullptr);

}  // namespace rt
