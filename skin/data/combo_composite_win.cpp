#include "skin/data/combo_composite_win.h"

#include "skin/data/skin_bitmap_win.h"
#include "skin/definition/bitmap_transforms.h"
#include "skin/drawing/dib_win.h"
#include "skin/drawing/nine_slice_win.h"
#include "skin/drawing/single_frame_win.h"

namespace skin {
namespace {

// One composed frame: the edge's frame over the whole box.
constexpr int kBoxWidth = 50;
constexpr int kBoxHeight = 21;

TSliceMargins SliceMargins(const TDataSkinObject& object) {
  return {object.Margins.Left, object.Margins.Top, object.Margins.Right, object.Margins.Bottom};
}

}  // namespace

void BuildComboComposite(TSkinModel& model, int scrollArrowWidth) {
  if (!model.SunkEdge || !model.ComboButton) return;
  TDataSkinObject& edge = *model.SunkEdge;
  TDataSkinBorder& button = *model.ComboButton;
  const int buttonWidth = scrollArrowWidth + 2;
  const int frames = edge.FrameCount;
  if (frames <= 0) return;

  const gui::UniqueBitmap edgeImage = ToDib(edge.Image);
  const gui::UniqueBitmap buttonImage = ToDib(button.Image);
  const gui::UniqueBitmap glyph = model.ExtraImages ? ToDib(model.ExtraImages->Image) : gui::UniqueBitmap();
  gui::UniqueBitmap work = MakeFilledDib(kBoxWidth, kBoxHeight, kSkinKeyColour);
  gui::UniqueBitmap result = MakeFilledDib(kBoxWidth * frames, kBoxHeight, kSkinKeyColour);
  {
    const TBitmapDc workDc(work.get());
    const TBitmapDc resultDc(result.get());
    const gui::UniqueBrush key(CreateSolidBrush(kSkinKeyColour));
    const RECT box = {0, 0, kBoxWidth, kBoxHeight};
    const RECT buttonArea = {kBoxWidth - buttonWidth, 0, kBoxWidth, kBoxHeight};
    // The inside of the box stays open: the edit control shows there.
    const RECT inside = {2, 2, kBoxWidth - 1 - buttonWidth, 18};
    for (int frame = 1; frame <= frames; ++frame) {
      if (edgeImage)
        DrawNineSlice(workDc.get(), box, edgeImage.get(), SliceMargins(edge), false, false, frames, frame,
                      edge.Trans != 0);
      if (buttonImage)
        DrawNineSlice(workDc.get(), buttonArea, buttonImage.get(), SliceMargins(button), false, false,
                      button.FrameCount, frame, true);
      if (glyph)
        DrawFrameCentred(workDc.get(), buttonArea, glyph.get(), true, model.ExtraImages->FrameCount, frame);
      FillRect(workDc.get(), &inside, key.get());
      BitBlt(resultDc.get(), kBoxWidth * (frame - 1), 0, kBoxWidth, kBoxHeight, workDc.get(), 0, 0, SRCCOPY);
    }
  }

  button.Style = 2;
  button.Margins = edge.Margins;
  button.Margins.Left = 2;
  button.Margins.Right = buttonWidth + 2;
  button.Image = FromBitmap(result.get());
  TSkinBitmap mirrored = button.Image;
  MirrorBitmap(mirrored);
  edge.Image = std::move(mirrored);
  edge.Margins.Left = buttonWidth + 2;
  edge.Margins.Right = 2;
}

}  // namespace skin
