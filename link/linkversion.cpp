// Serial link, frames, codecs and memory map live in this folder.
