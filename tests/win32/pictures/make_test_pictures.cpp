// make_test_pictures FOLDER: writes the button tests' pictures (test_pictures.h) into FOLDER and
// lists their names, one a line.
#include <cstdio>

#include "test_pictures.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_test_pictures FOLDER\n");
        return 1;
    }
    CreateDirectoryA(argv[1], nullptr);
    const std::vector<std::string> quads = WriteQuadPictures(argv[1]);
    for (const std::string& name : quads) std::printf("%s\n", name.c_str());
    for (const std::string& name : WriteHostilePictures(argv[1])) std::printf("%s\n", name.c_str());
    return quads.size() == 6 ? 0 : 2;
}
