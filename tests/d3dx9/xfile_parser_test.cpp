#include "d3dx9/xfile/xfile_parser.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <random>
#include <string>

#include "xfile_writer.h"

namespace quorvane::xfile {
namespace {

using tests::XEncoding;
using tests::XFileWriter;

XFileError Parse(const std::vector<std::uint8_t>& bytes, MeshDescription& mesh)
{
    return ParseXFile(bytes.data(), bytes.size(), mesh);
}

XFileError Parse(const std::string& text, MeshDescription& mesh)
{
    return ParseXFile(reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), mesh);
}

// A quad and a triangle: the quad faces -z with normal 0, the triangle uses normal 1 on two of
// the quad's positions, so those two positions need a second vertex each.
void WriteQuadAndTriangle(XFileWriter& x, bool withMaterials)
{
    if (withMaterials) {
        x.Begin("Material", "Blue")
            .Floats({0, 0, 1, 0.5f})
            .Floats({8})
            .Floats({0.25f, 0.25f, 0.25f})
            .Floats({0, 0, 0.125f});
        x.End();
    }
    x.Begin("Mesh", "Shape");
    x.Dwords({5});
    x.Floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 2, 0, 0});
    x.Dwords({2}).Dwords({4, 0, 3, 2, 1}).Dwords({3, 1, 2, 4});
    x.Begin("MeshNormals").Dwords({2}).Floats({0, 0, -1, 0, 0, 1});
    x.Dwords({2}).Dwords({4, 0, 0, 0, 0}).Dwords({3, 1, 1, 1}).End();
    x.Begin("MeshTextureCoords").Dwords({5}).Floats({0, 1, 1, 1, 1, 0, 0, 0, 0.5f, 0.5f}).End();
    if (withMaterials) {
        x.Begin("MeshMaterialList").Dwords({2}).Dwords({2}).Dwords({0, 1});
        x.Begin("Material", "Red").Floats({1, 0, 0, 1}).Floats({4}).Floats({1, 1, 1}).Floats({0.5f, 0, 0});
        x.Begin("TextureFilename").String("red.jpg").End();
        x.End();
        x.Reference("Blue");
        x.End();
    }
    x.End();
}

std::vector<std::uint8_t> QuadAndTriangle(XEncoding encoding, bool withMaterials = true)
{
    XFileWriter x(encoding);
    WriteQuadAndTriangle(x, withMaterials);
    return x.bytes();
}

TEST(XFileParser, TextAndBothBinaryEncodingsGiveTheSameMesh)
{
    MeshDescription text;
    ASSERT_EQ(Parse(QuadAndTriangle(XEncoding::text), text), XFileError::none);
    for (XEncoding encoding : {XEncoding::binary32, XEncoding::binary64}) {
        MeshDescription binary;
        ASSERT_EQ(Parse(QuadAndTriangle(encoding), binary), XFileError::none);
        EXPECT_EQ(binary.positions, text.positions);
        EXPECT_EQ(binary.normals, text.normals);
        EXPECT_EQ(binary.textureCoordinates, text.textureCoordinates);
        EXPECT_EQ(binary.indices, text.indices);
        EXPECT_EQ(binary.attributes, text.attributes);
        EXPECT_EQ(binary.pointIds, text.pointIds);
        ASSERT_EQ(binary.materials.size(), text.materials.size());
        for (std::size_t i = 0; i < text.materials.size(); ++i) {
            EXPECT_EQ(binary.materials[i].textureFilename, text.materials[i].textureFilename);
            EXPECT_EQ(binary.materials[i].faceColor[2], text.materials[i].faceColor[2]);
        }
    }
}

TEST(XFileParser, PolygonsBecomeFansAndPositionsWithTwoNormalsAreSplit)
{
    MeshDescription mesh;
    ASSERT_EQ(Parse(QuadAndTriangle(XEncoding::text), mesh), XFileError::none);
    EXPECT_TRUE(mesh.hasNormals);
    EXPECT_TRUE(mesh.hasTextureCoordinates);
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 3, 2, 0, 2, 1, 5, 6, 4}));
    EXPECT_EQ(mesh.pointIds, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 1, 2}));
    ASSERT_EQ(mesh.VertexCount(), 7u);
    // Positions 1 and 2 keep normal 0 on their own vertices; their copies carry normal 1.
    EXPECT_EQ(mesh.normals[1 * 3 + 2], -1.0f);
    EXPECT_EQ(mesh.normals[5 * 3 + 2], 1.0f);
    EXPECT_EQ(mesh.normals[6 * 3 + 2], 1.0f);
    EXPECT_EQ(mesh.positions[5 * 3 + 0], 1.0f);  // the copy of position 1 sits where it does
    // Texture coordinates follow the position.
    EXPECT_EQ(mesh.textureCoordinates[6 * 2 + 0], 1.0f);
    EXPECT_EQ(mesh.textureCoordinates[6 * 2 + 1], 0.0f);
}

// One normal per position, the normal faces those of the mesh: a vertex per position, and the
// zero normal for position 3, which no face uses.
TEST(XFileParser, NormalsThatFollowThePositionsGiveOneVertexPerPosition)
{
    MeshDescription mesh;
    ASSERT_EQ(Parse("xof 0302txt 0032\nMesh { 4; 0;0;0;, 1;0;0;, 0;1;0;, 5;5;5;; 1; 3;0,1,2;; MeshNormals { 4; "
                    "0;0;-1;, 0;0;-1;, 0;0;-1;, 1;0;0;; 1; 3;0,1,2;; } }",
                    mesh),
              XFileError::none);
    EXPECT_EQ(mesh.pointIds, (std::vector<std::uint32_t>{0, 1, 2, 3}));
    EXPECT_EQ(mesh.normals, (std::vector<float>{0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, 0}));
}

// Normal faces written as the mesh's face list again are taken from it only when they read the
// same: a longer last index, or indices beyond the normals, are what they say.
TEST(XFileParser, NormalFacesThatRepeatTheFaceListReadAsWritten)
{
    const auto mesh = [](const char* normals) {
        return std::string("xof 0302txt 0032\nMesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshNormals { ") +
               normals + " } }";
    };
    std::string thirtyNormals = "30; ";
    for (int i = 0; i < 30; ++i) {
        thirtyNormals += i == 29 ? "0;0;1;; " : "0;0;-1;, ";
    }
    const struct {
        std::string text;
        XFileError expected;
        float lastNormalZ;
    } cases[] = {
        {mesh("3; 0;0;-1;, 0;0;-1;, 0;0;1;; 1; 3;0,1,2;;"), XFileError::none, 1},
        {mesh((thirtyNormals + "1; 3;0,1,29;;").c_str()), XFileError::none, 1},
        {mesh((thirtyNormals + "1; 3;0,1,2;;").c_str()), XFileError::none, -1},
        {mesh("2; 0;0;-1;, 0;0;1;; 1; 3;0,1,2;;"), XFileError::badData, 0},
    };
    for (const auto& c : cases) {
        MeshDescription parsed;
        ASSERT_EQ(Parse(c.text, parsed), c.expected) << c.text;
        if (c.expected == XFileError::none) {
            EXPECT_EQ(parsed.normals.back(), c.lastNormalZ) << c.text;
        }
    }
}

TEST(XFileParser, MaterialsComeInDeclarationOrderInlineOrReferenced)
{
    MeshDescription mesh;
    ASSERT_EQ(Parse(QuadAndTriangle(XEncoding::binary32), mesh), XFileError::none);
    EXPECT_EQ(mesh.attributes, (std::vector<std::uint32_t>{0, 0, 1}));
    ASSERT_EQ(mesh.materials.size(), 2u);
    const XMaterial& red = mesh.materials[0];
    EXPECT_EQ(red.textureFilename, "red.jpg");
    EXPECT_EQ(red.faceColor[0], 1.0f);
    EXPECT_EQ(red.power, 4.0f);
    EXPECT_EQ(red.specular[1], 1.0f);
    EXPECT_EQ(red.emissive[0], 0.5f);
    const XMaterial& blue = mesh.materials[1];
    EXPECT_EQ(blue.textureFilename, "");
    EXPECT_EQ(blue.faceColor[2], 1.0f);
    EXPECT_EQ(blue.faceColor[3], 0.5f);
    EXPECT_EQ(blue.emissive[2], 0.125f);
}

TEST(XFileParser, MeshWithoutMaterialListHasNoMaterials)
{
    MeshDescription mesh;
    ASSERT_EQ(Parse(QuadAndTriangle(XEncoding::text, false), mesh), XFileError::none);
    EXPECT_TRUE(mesh.materials.empty());
    EXPECT_EQ(mesh.attributes, (std::vector<std::uint32_t>{0, 0, 0}));
}

TEST(XFileParser, FrameTransformsApplyFromTheInnermostFrameOutwards)
{
    // Inner frame: 90 degrees about z (x -> y); outer frame: translation by (10, 0, 0).
    // The mesh is written before the inner frame's matrix, which must still apply.
    XFileWriter x(XEncoding::text);
    x.Begin("Frame", "Outer");
    x.Begin("FrameTransformMatrix").Floats({1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1}).End();
    x.Begin("Frame", "Inner");
    x.Begin("Mesh").Dwords({3}).Floats({1, 0, 0, 0, 1, 0, 0, 0, 1}).Dwords({1}).Dwords({3, 0, 1, 2});
    x.Begin("MeshNormals").Dwords({1}).Floats({1, 0, 0}).Dwords({1}).Dwords({3, 0, 0, 0}).End();
    x.End();
    x.Begin("FrameTransformMatrix").Floats({0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}).End();
    x.End().End();
    // A second mesh outside every frame stays where it is.
    x.Begin("Mesh").Dwords({3}).Floats({5, 5, 5, 6, 5, 5, 5, 6, 5}).Dwords({1}).Dwords({3, 0, 1, 2}).End();

    MeshDescription mesh;
    ASSERT_EQ(Parse(x.bytes(), mesh), XFileError::none);
    ASSERT_EQ(mesh.VertexCount(), 6u);
    const std::vector<float> expected = {10, 1, 0, 9, 0, 0, 10, 0, 1, 5, 5, 5, 6, 5, 5, 5, 6, 5};
    EXPECT_EQ(mesh.positions, expected);
    EXPECT_NEAR(mesh.normals[0], 0.0f, 1e-6);
    EXPECT_NEAR(mesh.normals[1], 1.0f, 1e-6);  // normal (1, 0, 0) turned to +y
    EXPECT_EQ(mesh.normals[9], 0.0f);          // the second mesh has none: zero
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 5}));
}

TEST(XFileParser, TemplatesCommentsGuidsAndUnknownObjectsAreSkipped)
{
    const std::string text =
        "xof 0303txt 0032\n"
        "template Mesh { <3D82AB44-62DA-11cf-AB39-0020AF71E433> DWORD nVertices; array Vector v[nVertices]; [...] }\n"
        "// a comment { with braces\n"
        "# another one }\n"
        "Header { 1; 0; 1; }\n"
        "AnimationSet { Animation { { Box } AnimationKey { 0; 1; 0; 4; 1.0, 0.0, 0.0, 0.0;;; } } }\n"
        "Mesh Box <12345678-1234-1234-1234-123456789ABC> {\n"
        "  3; 0.0; 0.0; 0.0;, 1.0; 0.0; 0.0;, 0.0; 1.0; 0.0;;\n"
        "  1; 3; 0, 2, 1;;\n"
        "  VertexDuplicationIndices { 3; 3; 0, 1, 2; }\n"
        "  MeshVertexColors { 1; 0; 1.0; 0.0; 0.0; 1.0;;; }\n"
        "}\n";
    MeshDescription mesh;
    ASSERT_EQ(Parse(text, mesh), XFileError::none);
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 2, 1}));
    EXPECT_FALSE(mesh.hasNormals);
    EXPECT_FALSE(mesh.hasTextureCoordinates);
}

struct MalformedCase {
    const char* what;
    std::string body;
    XFileError expected;
};

// Numbers in the forms exporters write and in rarer ones (signs, no decimals, exponents, more
// digits than a float holds, forms close to "[-]d.dddddd"), and a sweep of that common form:
// each position is the float from_chars reads, bit for bit; counts and indices with a sign or
// leading zeros are read too.
TEST(XFileParser, NumbersAreReadAsFromCharsReadsThem)
{
    std::vector<std::string> numbers = {
        "9.999999",
        "-9.999999",
        "1.0000001",
        "12.345678",
        "1.234567e1",
        "-1.234567E-1",
        "-0.000001",
        "0.000000",
        "-0.000000",
        "1",
        "+1.5",
        "-0.707107",
        "16777216",
        "16777217",
        "0.1234567",
        "-1.2345678901",
        "3.14159265358979",
        "1e-3",
        "2.5E2",
        "-.5",
        "7.",
        "0.0000000001",
        "123456.7",
        "-16777215.5",
        "0.333333333333333333333",
    };
    std::mt19937 random(7);
    while (numbers.size() % 3 != 0 || numbers.size() < 3000) {
        const auto digits = std::to_string(10000000 + random() % 10000000);
        numbers.push_back((random() % 2 ? "-" : "") + digits.substr(1, 1) + "." + digits.substr(2));
    }
    std::string body = "Mesh { +" + std::string(9, '0') + std::to_string(numbers.size() / 3) + ";";
    for (const std::string& number : numbers)
        body += " " + number + ";";
    MeshDescription mesh;
    ASSERT_EQ(Parse("xof 0302txt 0032\n" + body + "; 1; 3;+0,0001,2;; }", mesh), XFileError::none);
    ASSERT_EQ(mesh.positions.size(), numbers.size());
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        const std::string_view text = numbers[i][0] == '+' ? std::string_view(numbers[i]).substr(1) : numbers[i];
        float expected = 0;
        std::from_chars(text.data(), text.data() + text.size(), expected);
        EXPECT_EQ(std::bit_cast<std::uint32_t>(mesh.positions[i]), std::bit_cast<std::uint32_t>(expected)) << text;
    }
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2}));
}

TEST(XFileParser, MalformedFilesAreRefused)
{
    const std::string triangle = "3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;;";
    const MalformedCase cases[] = {
        {"index out of range", "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,3;; }", XFileError::badData},
        {"face with two corners", "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 2;0,1;; }", XFileError::badData},
        {"fewer vertices than declared", "Mesh { 30; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }", XFileError::badData},
        {"huge vertex count", "Mesh { 4294967295; 0;0;0;; }", XFileError::badData},
        {"huge face count", "Mesh { 1; 0;0;0;; 4000000000; 3;0,0,0;; }", XFileError::badData},
        {"normal faces differ", "Mesh { " + triangle + " MeshNormals { 1; 0;0;1;; 1; 4;0,0,0,0;; } }",
         XFileError::badData},
        {"normal index out of range", "Mesh { " + triangle + " MeshNormals { 1; 0;0;1;; 1; 3;0,0,1;; } }",
         XFileError::badData},
        {"texture coordinates for fewer positions", "Mesh { " + triangle + " MeshTextureCoords { 2; 0;0;, 1;1;; } }",
         XFileError::badData},
        {"material index out of range",
         "Mesh { " + triangle + " MeshMaterialList { 1; 1; 1;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }",
         XFileError::badData},
        {"fewer materials than declared",
         "Mesh { " + triangle + " MeshMaterialList { 2; 1; 0;; Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; } } }",
         XFileError::badData},
        {"unknown material reference", "Mesh { " + triangle + " MeshMaterialList { 1; 1; 0;; { Nowhere } } }",
         XFileError::badData},
        {"negative count", "Mesh { -3; }", XFileError::syntax},
        {"not a number", "Mesh { 3; 0;0;zero;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }", XFileError::syntax},
        {"not finite", "Mesh { 3; 1e99;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }", XFileError::syntax},
        {"stray number at top level", "42;", XFileError::syntax},
        {"unclosed mesh", "Mesh { " + triangle, XFileError::truncated},
        {"unclosed string", "Material { 1;1;1;1;; 0; 0;0;0;; 0;0;0;; TextureFilename { \"a.jpg; } }",
         XFileError::truncated},
        {"no mesh at all", "Header { 1; 0; 1; }", XFileError::noMesh},
    };
    for (const MalformedCase& c : cases) {
        MeshDescription mesh;
        EXPECT_EQ(Parse("xof 0302txt 0032\n" + c.body, mesh), c.expected) << c.what;
        EXPECT_EQ(mesh.VertexCount(), 0u) << c.what;
    }
}

TEST(XFileParser, HeadersOtherThanVersion3TextOrBinaryAreRefused)
{
    MeshDescription mesh;
    EXPECT_EQ(Parse(std::string("xof 0302tzip0032"), mesh), XFileError::compressed);
    EXPECT_EQ(Parse(std::string("xof 0303bzip0064 compressed bytes"), mesh), XFileError::compressed);
    EXPECT_EQ(Parse(std::string("xof 0302txt 0016"), mesh), XFileError::badHeader);
    EXPECT_EQ(Parse(std::string("xof 0202txt 0032"), mesh), XFileError::badHeader);
    EXPECT_EQ(Parse(std::string("xof 0302txt"), mesh), XFileError::badHeader);
    EXPECT_EQ(Parse(std::string("not an x file at all"), mesh), XFileError::badHeader);
    EXPECT_EQ(ParseXFile(nullptr, 0, mesh), XFileError::badHeader);
}

TEST(XFileParser, EveryTruncationIsRefused)
{
    for (XEncoding encoding : {XEncoding::text, XEncoding::binary32, XEncoding::binary64}) {
        const std::vector<std::uint8_t> whole = QuadAndTriangle(encoding);
        // Cutting anywhere before the last closing brace must fail (after it only white space follows).
        std::size_t lastClose = whole.size();
        if (encoding == XEncoding::text) {
            while (whole[lastClose - 1] != '}') {
                --lastClose;
            }
        }
        for (std::size_t size = 0; size + 1 < lastClose; ++size) {
            MeshDescription mesh;
            const std::vector<std::uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(size));
            EXPECT_NE(Parse(cut, mesh), XFileError::none) << "cut at " << size;
        }
    }
}

TEST(XFileParser, DeepNestingIsRefusedAndShallowNestingIsNot)
{
    const auto nestedFrames = [](int depth) {
        std::string text = "xof 0302txt 0032\n";
        for (int i = 0; i < depth; ++i) {
            text += "Frame {\n";
        }
        text += "Mesh { 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; }\n";
        for (int i = 0; i < depth; ++i) {
            text += "}\n";
        }
        return text;
    };
    MeshDescription mesh;
    EXPECT_EQ(Parse(nestedFrames(maxObjectDepth - 1), mesh), XFileError::none);
    EXPECT_EQ(Parse(nestedFrames(100000), mesh), XFileError::tooDeep);
    // Unknown objects are skipped without recursion, however deep.
    std::string unknown = "xof 0302txt 0032\nThing {";
    unknown += std::string(100000, '{') + std::string(100000, '}') + "}";
    EXPECT_EQ(Parse(unknown, mesh), XFileError::noMesh);
}

}  // namespace
}  // namespace quorvane::xfile
