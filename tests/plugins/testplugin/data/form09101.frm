{ "page": { "width_mm": 210, "height_mm": 297 },
  "labels": [ { "text": "テスト評価表", "x_mm": 20, "y_mm": 12, "pt": 16 } ],
  "fields": [
    { "no": 1, "x_mm": 20, "y_mm": 30, "w_mm": 170, "h_mm": 8, "pt": 11 },
    { "no": 2, "x_mm": 20, "y_mm": 45, "w_mm": 170, "h_mm": 20, "pt": 11 },
    { "no": 3, "x_mm": 20, "y_mm": 70, "w_mm": 170, "h_mm": 8, "pt": 11 },
    { "no": 4, "x_mm": 20, "y_mm": 85, "w_mm": 40, "h_mm": 8, "pt": 11 } ] }
