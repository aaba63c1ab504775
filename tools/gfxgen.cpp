// gfxgen - draws the built-in on-screen graphics (list icons, remote-control
// buttons, highlight cells, scroll arrows) and writes them as C++ tables of
// straight ARGB pixels for TAP_Osd_PutGd.
//
//   gfxgen [BOLDFONT.ttf] [OUTDIR]
//
// Defaults: /usr/share/fonts/truetype/crosextra/Carlito-Bold.ttf (button
// labels) and src/ui/graphics. tools/regenerate-ui.sh runs it from the source
// tree; the output is committed, so building the application never needs it.
//
// Every graphic is described as filled vector shapes in its own pixel
// coordinates and rendered with 8 x 8 supersampling, so edges are smoothly
// anti-aliased and transparent outside the shape.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const int kSuper = 8;  // samples per pixel along each axis

struct Rgba {
  float r, g, b, a;  // straight colour, 0..1
};

Rgba Hex(uint32_t rgb, float a = 1.0f) {
  return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, a};
}

Rgba Mix(Rgba a, Rgba b, float t) {
  t = std::clamp(t, 0.0f, 1.0f);
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

using Shape = std::function<bool(float, float)>;
using Paint = std::function<Rgba(float, float)>;

// ------------------------------------------------------------------ shapes
Shape Rect(float x0, float y0, float x1, float y1) {
  return [=](float x, float y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape RoundRect(float x0, float y0, float x1, float y1, float r) {
  return [=](float x, float y) {
    if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
    float cx = std::clamp(x, x0 + r, x1 - r), cy = std::clamp(y, y0 + r, y1 - r);
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
  };
}

Shape Ellipse(float cx, float cy, float rx, float ry) {
  return [=](float x, float y) {
    float dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0f;
  };
}

Shape Circle(float cx, float cy, float r) { return Ellipse(cx, cy, r, r); }

struct Pt {
  float x, y;
};

Shape Polygon(std::vector<Pt> pts) {
  return [pts](float x, float y) {
    bool inside = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      if ((pts[i].y > y) != (pts[j].y > y) &&
          x < (pts[j].x - pts[i].x) * (y - pts[i].y) / (pts[j].y - pts[i].y) + pts[i].x)
        inside = !inside;
    }
    return inside;
  };
}

// A stroke of half-width hw along the segments of a polyline, round-capped.
Shape Stroke(std::vector<Pt> pts, float hw) {
  return [pts, hw](float x, float y) {
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
      float ax = pts[i].x, ay = pts[i].y, bx = pts[i + 1].x, by = pts[i + 1].y;
      float vx = bx - ax, vy = by - ay, len2 = vx * vx + vy * vy;
      float t = len2 > 0 ? std::clamp(((x - ax) * vx + (y - ay) * vy) / len2, 0.0f, 1.0f) : 0;
      float dx = x - (ax + t * vx), dy = y - (ay + t * vy);
      if (dx * dx + dy * dy <= hw * hw) return true;
    }
    return false;
  };
}

Shape And(Shape a, Shape b) {
  return [=](float x, float y) { return a(x, y) && b(x, y); };
}
Shape Or(Shape a, Shape b) {
  return [=](float x, float y) { return a(x, y) || b(x, y); };
}
Shape Minus(Shape a, Shape b) {
  return [=](float x, float y) { return a(x, y) && !b(x, y); };
}

// ------------------------------------------------------------------ paints
Paint Solid(Rgba c) {
  return [=](float, float) { return c; };
}

// A vertical gradient through colour stops (position in pixels, colour).
Paint VGrad(std::vector<std::pair<float, Rgba>> stops) {
  return [stops](float, float y) {
    if (y <= stops.front().first) return stops.front().second;
    for (size_t i = 0; i + 1 < stops.size(); ++i) {
      if (y <= stops[i + 1].first) {
        float t = (y - stops[i].first) / (stops[i + 1].first - stops[i].first);
        return Mix(stops[i].second, stops[i + 1].second, t);
      }
    }
    return stops.back().second;
  };
}

Paint Radial(float cx, float cy, float r, Rgba inner, Rgba outer) {
  return [=](float x, float y) {
    float d = std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)) / r;
    return Mix(inner, outer, d);
  };
}

// ------------------------------------------------------------------ canvas
class Canvas {
 public:
  Canvas(int w, int h) : w_(w), h_(h), px_((size_t)w * h * kSuper * kSuper, {0, 0, 0, 0}) {}
  int w() const { return w_; }
  int h() const { return h_; }

  // Composites the paint over the canvas wherever the shape holds.
  void Fill(const Shape& shape, const Paint& paint, float opacity = 1.0f) {
    const int sw = w_ * kSuper;
    for (int sy = 0; sy < h_ * kSuper; ++sy) {
      float y = (sy + 0.5f) / kSuper;
      for (int sx = 0; sx < sw; ++sx) {
        float x = (sx + 0.5f) / kSuper;
        if (!shape(x, y)) continue;
        Rgba c = paint(x, y);
        float a = c.a * opacity;
        Rgba& d = px_[(size_t)sy * sw + sx];  // premultiplied
        d.r = c.r * a + d.r * (1 - a);
        d.g = c.g * a + d.g * (1 - a);
        d.b = c.b * a + d.b * (1 - a);
        d.a = a + d.a * (1 - a);
      }
    }
  }

  // Box-filters the samples into straight ARGB pixels.
  std::vector<uint32_t> Resolve() const {
    std::vector<uint32_t> out((size_t)w_ * h_);
    const int sw = w_ * kSuper;
    for (int y = 0; y < h_; ++y) {
      for (int x = 0; x < w_; ++x) {
        Rgba s = {0, 0, 0, 0};
        for (int j = 0; j < kSuper; ++j) {
          for (int i = 0; i < kSuper; ++i) {
            const Rgba& p = px_[(size_t)(y * kSuper + j) * sw + x * kSuper + i];
            s.r += p.r, s.g += p.g, s.b += p.b, s.a += p.a;
          }
        }
        float n = kSuper * kSuper;
        uint32_t a = (uint32_t)std::lround(s.a / n * 255.0f);
        uint32_t r = 0, g = 0, b = 0;
        if (a > 0) {
          r = (uint32_t)std::clamp(std::lround(s.r / s.a * 255.0f), 0L, 255L);
          g = (uint32_t)std::clamp(std::lround(s.g / s.a * 255.0f), 0L, 255L);
          b = (uint32_t)std::clamp(std::lround(s.b / s.a * 255.0f), 0L, 255L);
        }
        out[(size_t)y * w_ + x] = a << 24 | r << 16 | g << 8 | b;
      }
    }
    return out;
  }

 private:
  int w_, h_;
  std::vector<Rgba> px_;
};

// ------------------------------------------------------------------ labels
FT_Face gLabelFace = nullptr;

// A text label as a shape, rendered by FreeType at the supersampled size and
// centred on (cx, cy) by its ink box.
struct TextMask {
  int w = 0, h = 0;
  std::vector<unsigned char> cov;
  float inkW() const { return (float)w / kSuper; }
};

TextMask RenderText(const std::string& text, float px) {
  FT_Set_Pixel_Sizes(gLabelFace, 0, (FT_UInt)std::lround(px * kSuper));
  struct Piece {
    int x, y, w, h, pitch;
    std::vector<unsigned char> buf;
  };
  std::vector<Piece> pieces;
  int pen = 0, minX = 1 << 30, minY = 1 << 30, maxX = -(1 << 30), maxY = -(1 << 30);
  for (unsigned char ch : text) {
    FT_Load_Char(gLabelFace, ch, FT_LOAD_RENDER | FT_LOAD_NO_HINTING);
    FT_GlyphSlot s = gLabelFace->glyph;
    Piece p{pen + s->bitmap_left, -s->bitmap_top,  (int)s->bitmap.width,
            (int)s->bitmap.rows,  s->bitmap.pitch, {}};
    p.buf.assign(s->bitmap.buffer, s->bitmap.buffer + s->bitmap.rows * std::abs(s->bitmap.pitch));
    if (p.w > 0 && p.h > 0) {
      minX = std::min(minX, p.x), minY = std::min(minY, p.y);
      maxX = std::max(maxX, p.x + p.w), maxY = std::max(maxY, p.y + p.h);
    }
    pen += (int)(s->advance.x >> 6);
    pieces.push_back(std::move(p));
  }
  TextMask m;
  if (maxX <= minX) return m;
  m.w = maxX - minX;
  m.h = maxY - minY;
  m.cov.assign((size_t)m.w * m.h, 0);
  for (const Piece& p : pieces) {
    for (int r = 0; r < p.h; ++r)
      for (int c = 0; c < p.w; ++c) {
        unsigned char v = p.buf[(size_t)r * p.pitch + c];
        unsigned char& d = m.cov[(size_t)(p.y - minY + r) * m.w + (p.x - minX + c)];
        d = std::max(d, v);
      }
  }
  return m;
}

Shape TextShape(const TextMask& m, float cx, float cy) {
  float x0 = cx - (float)m.w / kSuper / 2, y0 = cy - (float)m.h / kSuper / 2;
  return [m, x0, y0](float x, float y) {
    int sx = (int)std::floor((x - x0) * kSuper), sy = (int)std::floor((y - y0) * kSuper);
    if (sx < 0 || sy < 0 || sx >= m.w || sy >= m.h) return false;
    return m.cov[(size_t)sy * m.w + sx] >= 128;
  };
}

// ------------------------------------------------------------------ output
struct Graphic {
  std::string name;  // C++ name without the leading underscore and _Gd suffix
  int w, h;
  std::vector<uint32_t> argb;
};

std::vector<Graphic> gIcons, gButtons, gCells;

void Add(std::vector<Graphic>& group, const std::string& name, const Canvas& c) {
  group.push_back({name, c.w(), c.h(), c.Resolve()});
}

bool WriteGroup(const std::string& dir, const std::string& file, const std::string& what,
                const std::vector<Graphic>& group) {
  std::string path = dir + "/" + file;
  FILE* f = fopen(path.c_str(), "w");
  if (!f) {
    fprintf(stderr, "gfxgen: cannot write %s\n", path.c_str());
    return false;
  }
  fprintf(f,
          "// %s - %s.\n"
          "// Generated by tools/gfxgen.cpp; do not edit, run tools/regenerate-ui.sh.\n"
          "// clang-format off\n"
          "#include \"ui/graphics/Graphics.h\"\n",
          file.c_str(), what.c_str());
  for (const Graphic& g : group) {
    fprintf(f, "\nstatic const dword k%s[%d * %d] = {\n", g.name.c_str(), g.w, g.h);
    for (int y = 0; y < g.h; ++y) {
      fprintf(f, " ");
      for (int x = 0; x < g.w; ++x) {
        uint32_t v = g.argb[(size_t)y * g.w + x];
        if (v == 0)
          fprintf(f, " 0,");
        else
          fprintf(f, " 0x%08X,", v);
      }
      fprintf(f, "\n");
    }
    fprintf(f, "};\nconst TYPE_GrData _%s_Gd = {TAP_GRDATA_VERSION, %d, %d, k%s};\n",
            g.name.c_str(), g.w, g.h, g.name.c_str());
  }
  fclose(f);
  printf("gfxgen: %s (%zu graphics)\n", path.c_str(), group.size());
  return true;
}

bool WriteHeader(const std::string& dir) {
  std::string path = dir + "/Graphics.h";
  FILE* f = fopen(path.c_str(), "w");
  if (!f) {
    fprintf(stderr, "gfxgen: cannot write %s\n", path.c_str());
    return false;
  }
  fprintf(f,
          "// Graphics.h - the built-in graphics for TAP_Osd_PutGd (straight ARGB,\n"
          "// transparent outside their shapes; the highlight cells are opaque).\n"
          "// Generated by tools/gfxgen.cpp; do not edit, run tools/regenerate-ui.sh.\n"
          "#pragma once\n\n#include \"tap.h\"\n");
  const struct {
    const char* title;
    const std::vector<Graphic>* group;
  } groups[] = {{"list icons and scroll arrows", &gIcons},
                {"remote-control buttons (\"_T\": the small variants)", &gButtons},
                {"selection bar cells, 10 pixels wide", &gCells}};
  for (const auto& g : groups) {
    fprintf(f, "\n// %s\n", g.title);
    for (const Graphic& gr : *g.group)
      fprintf(f, "extern const TYPE_GrData _%s_Gd;  // %d x %d\n", gr.name.c_str(), gr.w, gr.h);
  }
  fprintf(f,
          "\n// Every graphic above by name, for tools and tests.\n"
          "struct NamedGraphic {\n  const char* name;\n  const TYPE_GrData* gd;\n};\n"
          "extern const NamedGraphic builtinGraphics[];\nextern const int builtinGraphicsCount;\n");
  fclose(f);

  path = dir + "/GraphicsIndex.cpp";
  f = fopen(path.c_str(), "w");
  if (!f) {
    fprintf(stderr, "gfxgen: cannot write %s\n", path.c_str());
    return false;
  }
  fprintf(f,
          "// GraphicsIndex.cpp - every built-in graphic by name.\n"
          "// Generated by tools/gfxgen.cpp; do not edit, run tools/regenerate-ui.sh.\n"
          "// clang-format off\n"
          "#include \"ui/graphics/Graphics.h\"\n\n"
          "const NamedGraphic builtinGraphics[] = {\n");
  int count = 0;
  for (const auto& g : groups)
    for (const Graphic& gr : *g.group) {
      fprintf(f, "  {\"_%s_Gd\", &_%s_Gd},\n", gr.name.c_str(), gr.name.c_str());
      ++count;
    }
  fprintf(f, "};\nconst int builtinGraphicsCount = %d;\n", count);
  fclose(f);
  return true;
}

// ------------------------------------------------------------------ icons
const Rgba kWhite = Hex(0xFFFFFF);
const Rgba kInk = Hex(0x1A1A1A);

// A glossy ball: dark rim, body shaded from a light upper left, a soft
// highlight at the top.
void Ball(Canvas& c, float cx, float cy, float r, uint32_t light, uint32_t dark, uint32_t rim) {
  c.Fill(Circle(cx, cy, r), Solid(Hex(rim)));
  c.Fill(Circle(cx, cy, r - 1.0f),
         Radial(cx - r * 0.35f, cy - r * 0.4f, r * 1.5f, Hex(light), Hex(dark)));
  c.Fill(Ellipse(cx, cy - r * 0.45f, r * 0.62f, r * 0.4f),
         VGrad({{cy - r * 0.85f, Hex(0xFFFFFF, 0.55f)}, {cy - r * 0.05f, Hex(0xFFFFFF, 0.0f)}}));
}

void Folder(Canvas& c, bool parent) {
  const Rgba outline = Hex(0x7A5200);
  // Back panel with its tab.
  Shape back =
      Or(RoundRect(1.5f, 3.5f, 13.0f, 9.0f, 1.5f), RoundRect(1.5f, 5.5f, 27.5f, 22.5f, 1.5f));
  c.Fill(back, Solid(outline));
  c.Fill(Or(RoundRect(2.5f, 4.5f, 12.0f, 9.0f, 1.0f), RoundRect(2.5f, 6.5f, 26.5f, 21.5f, 1.0f)),
         VGrad({{4, Hex(0xE8B030)}, {21, Hex(0xB07800)}}));
  // A sheet of paper peeking out.
  c.Fill(Rect(4.5f, 8.0f, 24.5f, 12.0f), Solid(Hex(0xF4F1E8)));
  // Front panel, leaning slightly forward.
  Shape front = Polygon({{0.5f, 10.5f}, {28.5f, 10.5f}, {27.3f, 23.0f}, {1.7f, 23.0f}});
  c.Fill(front, Solid(outline));
  Shape frontIn = Polygon({{1.6f, 11.5f}, {27.4f, 11.5f}, {26.4f, 22.0f}, {2.6f, 22.0f}});
  c.Fill(frontIn, VGrad({{11.5f, Hex(0xFFE68A)}, {16, Hex(0xFFCC33)}, {22, Hex(0xE0A010)}}));
  c.Fill(And(frontIn, Rect(0, 11.5f, 30, 12.5f)), Solid(Hex(0xFFF4C0)), 0.9f);
  if (parent) {
    // An arrow bending up and back: "one level up".
    Shape shaft = Stroke({{20.5f, 19.5f}, {20.5f, 16.5f}, {11.5f, 16.5f}}, 1.6f);
    Shape head = Polygon({{7.0f, 16.5f}, {12.5f, 12.2f}, {12.5f, 20.8f}});
    c.Fill(Or(shaft, head), Solid(Hex(0x5A3A00)));
    Shape arrowIn = Or(Stroke({{20.5f, 19.5f}, {20.5f, 16.5f}, {12.0f, 16.5f}}, 0.8f),
                       Polygon({{8.6f, 16.5f}, {11.7f, 14.0f}, {11.7f, 19.0f}}));
    c.Fill(arrowIn, Solid(kWhite));
  }
}

std::vector<Pt> StarPoints(float cx, float cy, float outer, float inner) {
  std::vector<Pt> pts;
  for (int i = 0; i < 10; ++i) {
    float r = i % 2 ? inner : outer;
    float a = -M_PI / 2 + i * M_PI / 5;
    pts.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return pts;
}

void NewStar(Canvas& c) {
  float cx = c.w() / 2.0f, cy = c.h() / 2.0f + 0.6f;
  c.Fill(Polygon(StarPoints(cx, cy, 8.4f, 3.7f)), Solid(Hex(0x5A1400)));
  c.Fill(Polygon(StarPoints(cx, cy, 6.9f, 2.9f)),
         Radial(cx - 1.0f, cy - 2.0f, 7.5f, Hex(0xFFF080), Hex(0xFF5A00)));
}

void TrashBin(Canvas& c) {
  const Rgba rim = Hex(0x2A2A2A);
  float cx = c.w() / 2.0f;
  // Lid with its handle.
  c.Fill(Minus(RoundRect(cx - 4.0f, 1.5f, cx + 4.0f, 5.5f, 1.5f),
               RoundRect(cx - 2.6f, 2.7f, cx + 2.6f, 5.5f, 0.8f)),
         Solid(rim));
  c.Fill(RoundRect(cx - 10.0f, 4.0f, cx + 10.0f, 8.0f, 1.5f), Solid(rim));
  c.Fill(RoundRect(cx - 9.0f, 5.0f, cx + 9.0f, 7.0f, 0.8f),
         VGrad({{5, Hex(0xF0F0F0)}, {7, Hex(0xA8A8A8)}}));
  // Body, narrowing to the bottom, with ribs.
  Shape body =
      Polygon({{cx - 8.5f, 8.5f}, {cx + 8.5f, 8.5f}, {cx + 7.0f, 23.0f}, {cx - 7.0f, 23.0f}});
  c.Fill(body, Solid(rim));
  Shape bodyIn =
      Polygon({{cx - 7.5f, 9.3f}, {cx + 7.5f, 9.3f}, {cx + 6.2f, 22.0f}, {cx - 6.2f, 22.0f}});
  c.Fill(bodyIn, [cx](float x, float) {
    return Mix(Hex(0xF2F2F2), Hex(0x9A9A9A), std::fabs(x - cx + 2.0f) / 8.0f);
  });
  for (float dx : {-3.6f, 0.0f, 3.6f})
    c.Fill(Stroke({{cx + dx, 11.5f}, {cx + dx * 0.85f, 20.0f}}, 0.6f), Solid(Hex(0x5A5A5A)));
}

void Padlock(Canvas& c, int state) {
  // state 1 locked (red), 2 open (green), 3 partly locked (amber)
  float cx = c.w() / 2.0f;
  uint32_t light = state == 1 ? 0xFF6A5A : state == 2 ? 0x7CE87C : 0xFFD04A;
  uint32_t dark = state == 1 ? 0xB01010 : state == 2 ? 0x1E8A1E : 0xC07800;
  float shift = state == 2 ? 3.6f : 0.0f;  // an open shackle swings up and aside
  float lift = state == 2 ? 2.0f : 0.0f;
  Shape shackle = Minus(Ellipse(cx + shift, 6.5f - lift, 5.2f, 5.6f),
                        Ellipse(cx + shift, 6.5f - lift, 2.9f, 3.4f));
  shackle =
      And(Or(shackle, Rect(cx + shift - 5.2f, 6.5f - lift, cx + shift + 5.2f, 10.0f - lift)),
          Minus(Rect(0, 0, 16, 9.5f), Rect(cx + shift - 2.9f, 6.4f - lift, cx + shift + 2.9f, 16)));
  c.Fill(shackle, Solid(Hex(0x303030)));
  Shape shackleIn = Minus(Ellipse(cx + shift, 6.5f - lift, 4.3f, 4.7f),
                          Ellipse(cx + shift, 6.5f - lift, 3.7f, 4.2f));
  shackleIn = And(Or(shackleIn, Or(Rect(cx + shift - 4.3f, 6.5f - lift, cx + shift - 3.7f, 9.5f),
                                   Rect(cx + shift + 3.7f, 6.5f - lift, cx + shift + 4.3f, 9.5f))),
                  Rect(0, 0, 16, 9.5f));
  c.Fill(shackleIn, Solid(Hex(0xE0E0E0)));
  c.Fill(RoundRect(cx - 6.5f, 7.5f, cx + 6.5f, 15.5f, 1.6f), Solid(Hex(0x303030)));
  c.Fill(RoundRect(cx - 5.5f, 8.5f, cx + 5.5f, 14.5f, 1.0f),
         VGrad({{8.5f, Hex(light)}, {14.5f, Hex(dark)}}));
  if (state == 3) {
    // Half of the body in the "open" green: partly encrypted.
    c.Fill(And(RoundRect(cx - 5.5f, 8.5f, cx + 5.5f, 14.5f, 1.0f), Rect(cx, 0, 16, 16)),
           VGrad({{8.5f, Hex(0x7CE87C)}, {14.5f, Hex(0x1E8A1E)}}));
  }
  c.Fill(Or(Circle(cx, 10.8f, 1.3f), Rect(cx - 0.6f, 10.8f, cx + 0.6f, 13.2f)),
         Solid(Hex(0x202020)));
}

void Arrow(Canvas& c, bool up) {
  float w = c.w(), h = c.h();
  auto Y = [&](float y) { return up ? y : h - y; };
  Shape outer = Polygon({{w / 2, Y(0.5f)}, {w - 0.5f, Y(h - 0.5f)}, {0.5f, Y(h - 0.5f)}});
  Shape inner = Polygon({{w / 2, Y(2.2f)}, {w - 2.3f, Y(h - 1.5f)}, {2.3f, Y(h - 1.5f)}});
  c.Fill(outer, Solid(Hex(0x404040)));
  c.Fill(inner, VGrad({{0, Hex(up ? 0xFFFFFF : 0xB8B8B8)}, {h, Hex(up ? 0xB8B8B8 : 0xFFFFFF)}}));
}

void MakeIcons() {
  {
    Canvas c(30, 24);
    Folder(c, false);
    Add(gIcons, "folder_yellow", c);
  }
  {
    Canvas c(30, 24);
    Folder(c, true);
    Add(gIcons, "folder_yellow_parent", c);
  }
  {
    Canvas c(18, 18);
    NewStar(c);
    Add(gIcons, "newstar", c);
  }
  {
    Canvas c(17, 17);
    Ball(c, 8.5f, 8.5f, 8.3f, 0xFF7060, 0xC00000, 0x500000);
    Add(gIcons, "RedCircleRecord", c);
  }
  {
    Canvas c(17, 17);
    Ball(c, 8.5f, 8.5f, 8.3f, 0x80F080, 0x108A10, 0x0A3A0A);
    c.Fill(Polygon({{6.3f, 4.6f}, {12.6f, 8.5f}, {6.3f, 12.4f}}), Solid(kWhite));
    Add(gIcons, "GreenCirclePlay", c);
  }
  {
    Canvas c(17, 17);
    Ball(c, 8.5f, 8.5f, 8.3f, 0x80B8FF, 0x1046B0, 0x0A1E4A);
    c.Fill(Stroke({{4.6f, 8.8f}, {7.4f, 11.6f}, {12.4f, 5.4f}}, 1.25f), Solid(kWhite));
    Add(gIcons, "BlueCircleTick", c);
  }
  {
    Canvas c(30, 24);
    TrashBin(c);
    Add(gIcons, "trash_bin", c);
  }
  for (int state = 1; state <= 3; ++state) {
    Canvas c(16, 16);
    Padlock(c, state);
    Add(gIcons, "crypt_icon_" + std::to_string(state), c);
  }
  {
    Canvas c(16, 10);
    Arrow(c, true);
    Add(gIcons, "ArrowUp", c);
  }
  {
    Canvas c(16, 10);
    Arrow(c, false);
    Add(gIcons, "ArrowDown", c);
  }
}

// ------------------------------------------------------------------ buttons
// A remote-control key: a rounded cap with a dark rim, shaded body, a gloss on
// its upper half and a symbol or label in white.
struct CapStyle {
  uint32_t top, bottom, rim;
  Rgba ink;
};

const CapStyle kGreyCap = {0x6E6E6E, 0x262626, 0x0A0A0A, kWhite};

void Cap(Canvas& c, const CapStyle& s) {
  float w = c.w(), h = c.h(), r = h * 0.32f;
  c.Fill(RoundRect(0.5f, 0.5f, w - 0.5f, h - 0.5f, r), Solid(Hex(s.rim)));
  Shape body = RoundRect(1.5f, 1.5f, w - 1.5f, h - 1.5f, r - 1.0f);
  c.Fill(body, VGrad({{1.5f, Hex(s.top)}, {h - 1.5f, Hex(s.bottom)}}));
  c.Fill(And(body, Rect(0, 0, w, h * 0.5f)),
         VGrad({{1.5f, Hex(0xFFFFFF, 0.38f)}, {h * 0.5f, Hex(0xFFFFFF, 0.06f)}}));
}

void Label(Canvas& c, const std::string& text, const Rgba& ink, float maxW) {
  float px = c.h() * 0.62f;
  TextMask m = RenderText(text, px);
  while (m.inkW() > maxW && px > 6.0f) {
    px -= 0.5f;
    m = RenderText(text, px);
  }
  c.Fill(TextShape(m, c.w() / 2.0f, c.h() / 2.0f + 0.25f), Solid(ink));
}

// Symbols, drawn in a box centred on the cap and `s` pixels high.
using Symbol = std::function<void(Canvas&, float cx, float cy, float s, const Rgba& ink)>;

Shape TriRight(float cx, float cy, float s) {
  return Polygon(
      {{cx - s * 0.42f, cy - s * 0.5f}, {cx + s * 0.48f, cy}, {cx - s * 0.42f, cy + s * 0.5f}});
}
Shape TriLeft(float cx, float cy, float s) {
  return Polygon(
      {{cx + s * 0.42f, cy - s * 0.5f}, {cx - s * 0.48f, cy}, {cx + s * 0.42f, cy + s * 0.5f}});
}

Shape ArrowShape(float cx, float cy, float s, int dir) {  // 0 right, 1 left, 2 up, 3 down
  auto rot = [&](float u, float v) -> Pt {
    switch (dir) {
      case 0:
        return {cx + u, cy + v};
      case 1:
        return {cx - u, cy + v};
      case 2:
        return {cx + v, cy - u};
      default:
        return {cx + v, cy + u};
    }
  };
  float a = s * 0.55f;
  return Or(Polygon({rot(a, 0), rot(a * 0.05f, -s * 0.5f), rot(a * 0.05f, s * 0.5f)}),
            Polygon({rot(a * 0.1f, -s * 0.17f), rot(-a, -s * 0.17f), rot(-a, s * 0.17f),
                     rot(a * 0.1f, s * 0.17f)}));
}

void MakeButton(const std::string& name, int w, int h, const CapStyle& style,
                const std::string& label, const Symbol& symbol) {
  Canvas c(w, h);
  Cap(c, style);
  if (symbol) {
    symbol(c, w / 2.0f, h / 2.0f, h * 0.5f, style.ink);
  } else if (!label.empty()) {
    Label(c, label, style.ink, w - 7.0f);
  }
  Add(gButtons, "Button_" + name, c);
}

void MakeButtons() {
  const int H = 20;   // full-size buttons
  const int HT = 16;  // the small "_T" variants
  // Digits: square caps.
  for (int d = 0; d <= 9; ++d)
    MakeButton(std::to_string(d), 22, H, kGreyCap, std::to_string(d), nullptr);

  auto sym = [](auto f) { return Symbol(f); };
  Symbol play = sym([](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
    c.Fill(TriRight(cx + s * 0.05f, cy, s), Solid(ink));
  });
  Symbol pause = sym([](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
    c.Fill(Or(Rect(cx - s * 0.45f, cy - s * 0.5f, cx - s * 0.12f, cy + s * 0.5f),
              Rect(cx + s * 0.12f, cy - s * 0.5f, cx + s * 0.45f, cy + s * 0.5f)),
           Solid(ink));
  });
  Symbol stop = sym([](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
    c.Fill(Rect(cx - s * 0.45f, cy - s * 0.45f, cx + s * 0.45f, cy + s * 0.45f), Solid(ink));
  });
  Symbol record = sym([](Canvas& c, float cx, float cy, float s, const Rgba&) {
    c.Fill(Circle(cx, cy, s * 0.55f),
           Radial(cx - 1, cy - 1.5f, s * 0.7f, Hex(0xFF6A5A), Hex(0xD00000)));
  });
  Symbol ffwd = sym([](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
    c.Fill(Or(TriRight(cx - s * 0.38f, cy, s * 0.9f), TriRight(cx + s * 0.42f, cy, s * 0.9f)),
           Solid(ink));
  });
  Symbol rwd = sym([](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
    c.Fill(Or(TriLeft(cx + s * 0.38f, cy, s * 0.9f), TriLeft(cx - s * 0.42f, cy, s * 0.9f)),
           Solid(ink));
  });
  Symbol jumpstart = sym([](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
    c.Fill(Or(Rect(cx - s * 1.0f, cy - s * 0.45f, cx - s * 0.8f, cy + s * 0.45f),
              Or(TriLeft(cx - s * 0.22f, cy, s * 0.9f), TriLeft(cx + s * 0.58f, cy, s * 0.9f))),
           Solid(ink));
  });
  Symbol jumpend = sym([](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
    c.Fill(Or(Rect(cx + s * 0.8f, cy - s * 0.45f, cx + s * 1.0f, cy + s * 0.45f),
              Or(TriRight(cx + s * 0.22f, cy, s * 0.9f), TriRight(cx - s * 0.58f, cy, s * 0.9f))),
           Solid(ink));
  });
  Symbol step = sym([](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
    c.Fill(Or(TriRight(cx - s * 0.2f, cy, s * 0.9f),
              Rect(cx + s * 0.38f, cy - s * 0.45f, cx + s * 0.58f, cy + s * 0.45f)),
           Solid(ink));
  });
  auto arrow = [&](int dir) {
    return sym([dir](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
      c.Fill(ArrowShape(cx, cy, s * 1.05f, dir), Solid(ink));
    });
  };
  Symbol mute = sym([](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
    float x = cx - s * 0.25f;
    c.Fill(Or(Rect(x - s * 0.55f, cy - s * 0.22f, x - s * 0.2f, cy + s * 0.22f),
              Polygon({{x - s * 0.25f, cy - s * 0.22f},
                       {x + s * 0.25f, cy - s * 0.55f},
                       {x + s * 0.25f, cy + s * 0.55f},
                       {x - s * 0.25f, cy + s * 0.22f}})),
           Solid(ink));
    c.Fill(Or(Stroke({{x + s * 0.5f, cy - s * 0.3f}, {x + s * 1.0f, cy + s * 0.3f}}, s * 0.09f),
              Stroke({{x + s * 0.5f, cy + s * 0.3f}, {x + s * 1.0f, cy - s * 0.3f}}, s * 0.09f)),
           Solid(Hex(0xFF5040)));
  });
  Symbol note = sym([](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
    // Two beamed quavers: the audio track key.
    float x0 = cx - s * 0.45f, x1 = cx + s * 0.45f;
    c.Fill(Or(Ellipse(x0 - s * 0.18f, cy + s * 0.38f, s * 0.24f, s * 0.17f),
              Ellipse(x1 - s * 0.18f, cy + s * 0.3f, s * 0.24f, s * 0.17f)),
           Solid(ink));
    c.Fill(Or(Rect(x0 + s * 0.0f, cy - s * 0.5f, x0 + s * 0.1f, cy + s * 0.38f),
              Rect(x1 + s * 0.0f, cy - s * 0.58f, x1 + s * 0.1f, cy + s * 0.3f)),
           Solid(ink));
    c.Fill(Polygon({{x0, cy - s * 0.5f},
                    {x1 + s * 0.1f, cy - s * 0.58f},
                    {x1 + s * 0.1f, cy - s * 0.36f},
                    {x0, cy - s * 0.28f}}),
           Solid(ink));
  });
  Symbol moon = sym([](Canvas& c, float cx, float cy, float s, const Rgba&) {
    c.Fill(Minus(Circle(cx, cy, s * 0.52f), Circle(cx + s * 0.3f, cy - s * 0.2f, s * 0.45f)),
           Solid(Hex(0xFFE070)));
  });
  Symbol list = sym([](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
    for (int i = -1; i <= 1; ++i) {
      float y = cy + i * s * 0.38f;
      c.Fill(Rect(cx - s * 0.75f, y - s * 0.1f, cx - s * 0.5f, y + s * 0.12f), Solid(ink));
      c.Fill(Rect(cx - s * 0.35f, y - s * 0.1f, cx + s * 0.75f, y + s * 0.12f), Solid(ink));
    }
  });
  Symbol info = sym([](Canvas& c, float cx, float cy, float s, const Rgba& ink) {
    c.Fill(Circle(cx, cy, s * 0.62f), Solid(ink));
    c.Fill(Or(Circle(cx, cy - s * 0.33f, s * 0.1f),
              Rect(cx - s * 0.09f, cy - s * 0.13f, cx + s * 0.09f, cy + s * 0.42f)),
           Solid(Hex(0x1850B0)));
  });

  struct Key {
    const char* name;
    int w;
    const char* label;
    Symbol symbol;
  };
  const Key keys[] = {
      {"recall", 34, "RCL", nullptr},
      {"mute", 30, "", mute},
      {"left", 30, "", arrow(1)},
      {"right", 30, "", arrow(0)},
      {"up", 30, "", arrow(2)},
      {"down", 30, "", arrow(3)},
      {"sleep", 30, "", moon},
      {"audio", 30, "", note},
      {"info", 30, "", info},
      {"guide", 36, "GUIDE", nullptr},
      {"exit", 32, "EXIT", nullptr},
      {"tv_radio", 36, "TV/R", nullptr},
      {"pause", 30, "", pause},
      {"menu", 36, "MENU", nullptr},
      {"ok", 30, "OK", nullptr},
      {"fav", 30, "FAV", nullptr},
      {"subtitle", 32, "SUB", nullptr},
      {"ttx", 32, "TTX", nullptr},
      {"rwd", 30, "", rwd},
      {"play", 30, "", play},
      {"ffwd", 30, "", ffwd},
      {"step", 30, "", step},
      {"stop", 30, "", stop},
      {"record", 30, "", record},
      {"sat", 32, "SAT", nullptr},
      {"jumpstart", 30, "", jumpstart},
      {"filelist", 30, "", list},
      {"jumpend", 30, "", jumpend},
      {"m", 30, "M", nullptr},
      {"blank", 30, "", nullptr},
  };
  for (const Key& k : keys) MakeButton(k.name, k.w, H, kGreyCap, k.label, k.symbol);

  // The colour keys carry their colour and no label.
  MakeButton("red", 30, H, {0xFF7A6E, 0xB01010, 0x3A0000, kWhite}, "", nullptr);
  MakeButton("green", 30, H, {0x8AF08A, 0x138A13, 0x053005, kWhite}, "", nullptr);
  MakeButton("yellow", 30, H, {0xFFF07A, 0xD0A000, 0x3A2E00, kWhite}, "", nullptr);
  MakeButton("blue", 30, H, {0x80AEFF, 0x1240B0, 0x061838, kWhite}, "", nullptr);
  MakeButton("white", 30, H, {0xFFFFFF, 0xA8A8A8, 0x303030, kInk}, "", nullptr);
  MakeButton("option", 32, H, {0xFFFFFF, 0xA8A8A8, 0x303030, kInk}, "OPT", nullptr);

  // Small variants for lists and texts with little room.
  MakeButton("up_T", 22, HT, kGreyCap, "", arrow(2));
  MakeButton("down_T", 22, HT, kGreyCap, "", arrow(3));
  MakeButton("audio_T", 22, HT, kGreyCap, "", note);
  MakeButton("blank_T", 22, HT, kGreyCap, "", nullptr);
}

// ------------------------------------------------------------------ cells
// Highlight cells: 10-pixel wide slices of the selection bar, tiled side by
// side, so every column is the same vertical gloss gradient.
struct CellColours {
  const char* name;
  uint32_t top, upper, lower, bottom;
};

void MakeCells() {
  const CellColours colours[] = {
      {"Blue", 0xB4D2FF, 0x6AA0F0, 0x2E6CD8, 0x4A86E8},
      {"Green", 0xB8F5B0, 0x6AD860, 0x28A820, 0x44C03A},
      {"OldGreen", 0xC2D6A0, 0x8EAA5E, 0x5C7A30, 0x6E8C40},
      {"Yellow", 0xFFF6B0, 0xFFE060, 0xE8B800, 0xF2C828},
      {"DarkBlue", 0x7E9AD0, 0x3A5CA0, 0x1A3470, 0x284486},
      {"OldRed", 0xF0A8A0, 0xD0584A, 0xA02A1E, 0xB83C2E},
  };
  for (const CellColours& cc : colours) {
    for (int h : {20, 26, 39}) {
      if (std::string(cc.name) == "OldRed" && h != 39) continue;
      Canvas c(10, h);
      float mid = h * 0.5f;
      c.Fill(Rect(0, 0, 10, (float)h), VGrad({{0, Hex(cc.top)},
                                              {mid, Hex(cc.upper)},
                                              {mid + 0.01f, Hex(cc.lower)},
                                              {(float)h, Hex(cc.bottom)}}));
      // Bright top edge and dark bottom edge give the bar its depth.
      c.Fill(Rect(0, 0, 10, 1), Solid(Hex(0xFFFFFF, 0.45f)));
      c.Fill(Rect(0, h - 1.0f, 10, (float)h), Solid(Hex(0x000000, 0.35f)));
      Add(gCells, std::string("TMSHighlightCell") + cc.name + std::to_string(h), c);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string fontFile =
      argc > 1 ? argv[1] : "/usr/share/fonts/truetype/crosextra/Carlito-Bold.ttf";
  std::string outDir = argc > 2 ? argv[2] : "src/ui/graphics";
  FT_Library lib;
  if (FT_Init_FreeType(&lib) != 0 || FT_New_Face(lib, fontFile.c_str(), 0, &gLabelFace) != 0) {
    fprintf(stderr, "gfxgen: cannot open %s\n", fontFile.c_str());
    return 1;
  }
  MakeIcons();
  MakeButtons();
  MakeCells();
  bool ok = WriteHeader(outDir) &&
            WriteGroup(outDir, "Icons.cpp", "list icons and scroll arrows", gIcons) &&
            WriteGroup(outDir, "Buttons.cpp", "remote-control button images", gButtons) &&
            WriteGroup(outDir, "HighlightCells.cpp", "selection bar cells", gCells);
  FT_Done_Face(gLabelFace);
  FT_Done_FreeType(lib);
  return ok ? 0 : 1;
}
