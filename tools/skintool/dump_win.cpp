// skintool dump on Windows: the skin loaded by the skin data component,
// exactly as a form's stored skin is, and its object model printed one
// item per line, fields separated by single blanks.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "runtime/colors.h"
#include "runtime/strings.h"
#include "skin/data/skin_data_win.h"
#include "tools/skintool/commands.h"
#include "tools/cli/console.h"
#include "tools/skintool/dump.h"
#include "tools/cli/files.h"

namespace skintool {

const bool kDumpAvailable = true;

namespace {

using skin::TSkinBitmap;
using skin::TSkinModel;

std::string Size(const TSkinBitmap& image) {
  return std::to_string(image.Width()) + "x" + std::to_string(image.Height());
}

std::string Colour(rt::TColor colour) {
  if (colour == rt::clNone) return "none";
  if (rt::IsSystemColor(colour)) return "system" + std::to_string(colour & 0xFF);
  return std::to_string(colour & 0xFF) + "," + std::to_string(colour >> 8 & 0xFF) + "," +
         std::to_string(colour >> 16 & 0xFF);
}

std::string Object(const char* slot, const skin::TDataSkinObject* object) {
  std::string line = std::string("object ") + slot;
  if (!object) return line + " nil\n";
  const auto& m = object->Margins;
  line += " image=" + Size(object->Image) + " frames=" + std::to_string(object->FrameCount) +
          " margins=" + std::to_string(m.Left) + "," + std::to_string(m.Top) + "," + std::to_string(m.Right) +
          "," + std::to_string(m.Bottom) + " trans=" + std::to_string(object->Trans) +
          " tile=" + std::to_string(object->Tile);
  if (const auto* border = dynamic_cast<const skin::TDataSkinBorder*>(object); border && !border->SecondImage.Empty())
    line += " second=" + Size(border->SecondImage);
  return line + "\n";
}

std::string Describe(const TSkinModel& model) {
  std::string out;
  out += Object("BorderLeft", &model.BorderLeft);
  out += Object("BorderRight", &model.BorderRight);
  out += Object("BorderTop", &model.BorderTop);
  out += Object("BorderBottom", &model.BorderBottom);
  out += Object("Title", &model.Title);
  out += Object("Buttons", &model.Buttons);
  const std::pair<const char*, const skin::TDataSkinObject*> sections[] = {
      {"Tabs", model.Tabs.get()},
      {"Progress", model.Progress.get()},
      {"UpDownHorz", model.UpDownHorz.get()},
      {"UpDownVert", model.UpDownVert.get()},
      {"SunkEdge", model.SunkEdge.get()},
      {"ExtraImages", model.ExtraImages.get()},
      {"ComboButton", model.ComboButton.get()},
      {"GroupBoxEdge", model.GroupBoxEdge.get()},
      {"Toolbars", model.Toolbars.get()},
      {"GroupBox", model.GroupBox.get()},
      {"StatusBarEdges", model.StatusBarEdges.get()},
      {"Headerbar", model.Headerbar.get()},
      {"MenuBar", model.MenuBar.get()},
      {"MenuItem", model.MenuItem.get()},
      {"MenuBackground", model.MenuBackground.get()},
      {"Scrollbar", model.Scrollbar.get()},
      {"HorzScroll", model.HorzScroll.get()},
      {"VertScroll", model.VertScroll.get()},
      {"HorzScrollThumb", model.HorzScrollThumb.get()},
      {"VertScrollThumb", model.VertScrollThumb.get()},
      {"TrackbarThumbHorz", model.TrackbarThumbHorz.get()},
      {"TrackbarThumbVert", model.TrackbarThumbVert.get()},
      {"TrackbarThumbLeft", model.TrackbarThumbLeft.get()},
      {"TrackbarThumbRight", model.TrackbarThumbRight.get()},
      {"TrackbarThumbUp", model.TrackbarThumbUp.get()},
      {"TrackbarThumbDown", model.TrackbarThumbDown.get()},
  };
  for (const auto& [slot, object] : sections) out += Object(slot, object);

  const auto& b = model.Buttons;
  out += "buttons check=" + Size(b.CheckImage) + " radio=" + Size(b.RadioImage) +
         " checkframes=" + std::to_string(b.CheckButtonFrame) + " radioframes=" + std::to_string(b.RadioButtonFrame) +
         " colours=" + std::to_string(b.NormalColour) + "," + std::to_string(b.MouseOverColour) + "," +
         std::to_string(b.PressedColour) + "\n";
  out += "title fontheight=" + std::to_string(model.Title.FontHeight) + " active=" +
         Colour(model.Title.ActiveTextColour) + " inactive=" + Colour(model.Title.InactiveTextColour) + "\n";
  for (size_t i = 0; i < model.CaptionButtons.size(); ++i) {
    const auto& c = model.CaptionButtons[i];
    out += "captionbutton " + std::to_string(i) + " action=" + std::to_string(c.Action) +
           " align=" + std::to_string(c.Align) + " x=" + std::to_string(c.Xcoord) + " y=" + std::to_string(c.Ycoord) +
           " visibility=" + std::to_string(c.Visibility) + " visibility1=" + std::to_string(c.Visibility1) +
           " frames=" + std::to_string(c.FrameCount) + " image=" + Size(c.Image) + "\n";
  }
  const auto& s = model.SkinColours;
  const std::pair<const char*, rt::TColor> colours[] = {
      {"WindowText", s.WindowText},     {"TitleTextActive", s.TitleTextActive},
      {"TitleTextNoActive", s.TitleTextNoActive}, {"ButtonFace", s.ButtonFace},
      {"ButtonText", s.ButtonText},     {"ButtonHilight", s.ButtonHilight},
      {"Buttonlight", s.Buttonlight},   {"ButtonShadow", s.ButtonShadow},
      {"ButtonDkShadow", s.ButtonDkShadow}, {"HilightText", s.HilightText},
      {"Hilight", s.Hilight},           {"Menubar", s.Menubar},
      {"MenuBarText", s.MenuBarText},   {"MenuText", s.MenuText},
      {"Menu", s.Menu},                 {"Scrollbar", s.Scrollbar},
  };
  for (const auto& [key, colour] : colours) out += std::string("colour ") + key + " " + Colour(colour) + "\n";
  out += "coloursections ";
  out += std::to_string(model.ColourSections.size()) + "\n";
  for (size_t i = 0; i < model.CustomColours.size(); ++i) {
    out += "customcolour ";
    out += std::to_string(i) + " " + Colour(model.CustomColours[i]) + "\n";
  }
  return out;
}

// Milliseconds from the start of this process until now.
double MillisecondsSinceStart() {
  FILETIME created, exited, kernel, user, now;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  GetSystemTimePreciseAsFileTime(&now);
  const auto ticks = [](const FILETIME& t) { return (uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
  return static_cast<double>(ticks(now) - ticks(created)) / 10000.0;
}

}  // namespace

int DumpSkin(const char* path, const TDumpOptions& options) {
  const double entered = MillisecondsSinceStart();
  const std::vector<uint8_t> file = cli::ReadWholeFile(cli::PathFromUtf8(path));
  // The form's stored value: the file's length, then the file.
  std::vector<uint8_t> stream(4 + file.size());
  for (int i = 0; i < 4; ++i) stream[i] = static_cast<uint8_t>(file.size() >> (8 * i));
  std::copy(file.begin(), file.end(), stream.begin() + 4);

  skin::TSkinData data(nullptr);
  data.SetScrollArrowWidth(options.scrollArrowWidth);
  data.ReadSkinStream(stream);
  const double built = MillisecondsSinceStart();
  if (data.NoSkin()) throw cli::Failure(kExitDamaged, std::string(path) + ": holds no skin");
  cli::WriteOut(Describe(data.Model()));
  if (options.timing) {
    char line[128];
    std::snprintf(line, sizeof line, "skin built %.1f ms after the process started (%.1f ms after the dump began)\n",
                  built, built - entered);
    cli::WriteErr(line);
  }
  return 0;
}

}  // namespace skintool
