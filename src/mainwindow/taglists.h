#pragma once

// Items of the tag drop-down lists; the tag a choice inserts is the item's text
// from its last "<" to its end.
inline constexpr const char* kEnumFormatItems[] = {
    "Enumeration <ENUM>", "Current Filename <NAME>", "Current File Extension <EXT>", "Curr. Full Name <FULLNAME>"};

inline constexpr const char* kMp3TagItems[] = {
    "Artist <ARTIST>", "Title <TITLE>", "Album <ALBUM>", "Year <YEAR>", "Comment <COMMENT>", "Genre <GENRE>",
    "Track Number <TRACK>", "Track Number (Normalized) <TRACKN>", "Length (Long) <LENGTH>", "Length (Short) <LENGTHS>",
    "Bitrate <BITRATE>", "Stereo or Mono <STEREO>", "Frequency (Hz) <FREQ>", "Frequency (kHz) <FREQS>",
    "MPEG Version <MPEG>", "MPEG Layer <LAYER>", "MPEG Stereo Mode <SMODE>", "Current Filename <NAME>",
    "Current Extension <EXT>", "Current Full Filename <FULLNAME>", "File Size (in Bytes) <SIZEB>",
    "File Size (in MB) <SIZE>", "Composer (ID3v2) <COMPOSER>", "Original Artist (ID3v2) <ORIGARTIST>",
    "Copyright (ID3v2) <COPYRIGHT>", "Encoded By (ID3v2) <ENCODEDBY>", "Beats Per Minute (ID3v2) <BPM>",
    "Move To SubDir <\\>"};

inline constexpr const char* kFormatTagItems[] = {
    "Current Filename <NAME>", "Current Extension <EXT>", "Current Full Filename <FULLNAME>", "Size (Auto) <SIZE>",
    "Size (Bytes) <SIZEB>", "Modified Date <DATE>", "Modified Time <TIME>", "Created Date <CDATE>",
    "Created Time <CTIME>", "Acessed Date <ADATE>", "Accessed Time <ATIME>", "Parent Directory Name <PARENT>",
    "Number of Files in Dir. <DIRFILES>", "Number of Dirs. in Dir. <DIRDIRS>", "Size of Files in Dir. (Auto) <DIRSIZE>",
    "Size of Files in Dir. (Bytes) <DIRSIZEB>", "Number of Files in Dir. & SubDirs <SDIRFILES>",
    "Number of Dirs. in Dir. & SubDirs  <SDIRDIRS>", "Size of Files in Dir. & SubDirs  (Auto) <SDIRSIZE>",
    "Size of Files in Dir. & SubDirs  (Bytes) <SDIRSIZEB>", "First Letter in Filename <FLETTER>",
    "First Letter incl. Numbers <FLETTERN1>", "First Letter incl. Number Subst. <FLETTERN2>", "Move To SubDir <\\>",
    "Random Character (A-Z) <RND>", "Random Number (0-9) <RND#>", "Image/Movie Width <WIDTH>",
    "Image/Movie Height <HEIGHT>", "Image/Movie Color Depth (Cols) <DEPTH>", "Image/Movie Color Depth (Bits) <DEPTHB>",
    "Movie/Wave Length (Long) <LENGTH>", "Movie/Wave Length (Short) <LENGTHS>", "Movie Framerate <FPS>",
    "Movie Bitrate (kBps) <BITRATE>", "Movie Compression <CODEC>", "Movie Has Sound? <SOUND>",
    "Movie/Wave Audio Stereo Mode <SMODE>", "Movie/Wave Audio Freq. (Hz) <FREQ>", "Movie/Wave Audio Freq. (kHz) <FREQS>",
    "Movie/Wave Audio Bits <BITS>", "Movie/Wave Audio Bitrate (kBps) <SNDBITRATE>", "Movie/Wave Audio Format <SNDFORMAT>",
    "Html Title <HTMLTITLE>", "Part 1 <%1>", "Part 2 <%2>", "Part 3 <%3>", "Part 4 <%4>", "Part 5 <%5>", "Part 6 <%6>",
    "Part 7 <%7>", "Part 8 <%8>", "Part 9 <%9>"};
