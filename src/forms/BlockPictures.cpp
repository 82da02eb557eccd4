#include "forms/BlockPictures.h"

PictureBuilder BlockBody() {
    PictureBuilder b(BlockBodyWidth, BlockBodyHeight);
    b.Rect({0, 0}, {BlockBodyWidth - 1, BlockBodyHeight - 1});
    return b;
}

TPicture TextBlock(const std::string& text, int size, bool italic) {
    return BlockBody().Text({BlockBodyWidth / 2, BlockBodyHeight / 2}, text, size,
                            TTextAlign::Center, italic);
}
