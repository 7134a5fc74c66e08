#pragma once

// What the reading of a document says it left out: English texts for the
// message lookup, shared by the reading and the making of its pages.
namespace DocumentNotes {
inline constexpr char BadObjects[]
    = "Some drawings of the document could not be read and were left out.";
inline constexpr char BadPictures[]
    = "Some pictures of the document could not be used and were left out.";
inline constexpr char TooMuchDrawing[]
    = "A page of the document holds more drawing than Tavelmark opens; the rest was left out.";
inline constexpr char BadPages[]
    = "Some pages of the document could not be read and were left out.";
} // namespace DocumentNotes
