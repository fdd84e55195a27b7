{
 "page": {
  "width_mm": 210,
  "height_mm": 297,
  "margin_mm": 15
 },
 "title": "水準測量 品質評価表",
 "pt": 9,
 "caption_width_mm": 50,
 "tables": [
  {
   "caption": "製品情報",
   "rows": [
    {
     "caption": "製品名",
     "no": 1
    },
    {
     "caption": "ライセンス",
     "no": 2
    },
    {
     "caption": "作成時期",
     "no": 3
    },
    {
     "caption": "作成者",
     "no": 4
    },
    {
     "caption": "座標系",
     "no": 5
    },
    {
     "caption": "領域",
     "no": 6
    },
    {
     "caption": "検査者",
     "no": 7
    },
    {
     "caption": "データ品質適用範囲",
     "no": 11
    },
    {
     "caption": "総合否",
     "no": 26
    }
   ]
  },
  {
   "caption": "完全性",
   "rows": [
    {
     "caption": "総括",
     "no": 21
    },
    {
     "caption": "過剰 要求",
     "no": 31,
     "element": "過剰"
    },
    {
     "caption": "過剰 方法",
     "no": 32,
     "element": "過剰"
    },
    {
     "caption": "過剰 結果",
     "no": 33,
     "element": "過剰"
    },
    {
     "caption": "漏れ 要求",
     "no": 34,
     "element": "漏れ"
    },
    {
     "caption": "漏れ 方法",
     "no": 35,
     "element": "漏れ"
    },
    {
     "caption": "漏れ 結果",
     "no": 36,
     "element": "漏れ"
    }
   ]
  },
  {
   "caption": "論理一貫性",
   "rows": [
    {
     "caption": "総括",
     "no": 22
    },
    {
     "caption": "書式一貫性 要求",
     "no": 41,
     "element": "書式一貫性"
    },
    {
     "caption": "書式一貫性 方法",
     "no": 42,
     "element": "書式一貫性"
    },
    {
     "caption": "書式一貫性 結果",
     "no": 43,
     "element": "書式一貫性"
    },
    {
     "caption": "概念一貫性 要求",
     "no": 44,
     "element": "概念一貫性"
    },
    {
     "caption": "概念一貫性 方法",
     "no": 45,
     "element": "概念一貫性"
    },
    {
     "caption": "概念一貫性 結果",
     "no": 46,
     "element": "概念一貫性"
    },
    {
     "caption": "定義域一貫性 要求",
     "no": 47,
     "element": "定義域一貫性"
    },
    {
     "caption": "定義域一貫性 方法",
     "no": 48,
     "element": "定義域一貫性"
    },
    {
     "caption": "定義域一貫性 結果",
     "no": 49,
     "element": "定義域一貫性"
    },
    {
     "caption": "位相一貫性 要求",
     "no": 50,
     "element": "位相一貫性"
    },
    {
     "caption": "位相一貫性 方法",
     "no": 51,
     "element": "位相一貫性"
    },
    {
     "caption": "位相一貫性 結果",
     "no": 52,
     "element": "位相一貫性"
    }
   ]
  },
  {
   "caption": "位置正確度",
   "rows": [
    {
     "caption": "総括",
     "no": 23
    },
    {
     "caption": "絶対位置正確度 要求",
     "no": 61,
     "element": "絶対位置正確度"
    },
    {
     "caption": "絶対位置正確度 方法",
     "no": 62,
     "element": "絶対位置正確度"
    },
    {
     "caption": "絶対位置正確度 結果",
     "no": 63,
     "element": "絶対位置正確度"
    },
    {
     "caption": "相対位置正確度 要求",
     "no": 64,
     "element": "相対位置正確度"
    },
    {
     "caption": "相対位置正確度 方法",
     "no": 65,
     "element": "相対位置正確度"
    },
    {
     "caption": "相対位置正確度 結果",
     "no": 66,
     "element": "相対位置正確度"
    },
    {
     "caption": "グリッドデータ位置正確度 要求",
     "no": 67,
     "element": "グリッドデータ位置正確度"
    },
    {
     "caption": "グリッドデータ位置正確度 方法",
     "no": 68,
     "element": "グリッドデータ位置正確度"
    },
    {
     "caption": "グリッドデータ位置正確度 結果",
     "no": 69,
     "element": "グリッドデータ位置正確度"
    }
   ]
  },
  {
   "caption": "時間正確度",
   "rows": [
    {
     "caption": "総括",
     "no": 24
    },
    {
     "caption": "時間測定正確度 要求",
     "no": 81,
     "element": "時間測定正確度"
    },
    {
     "caption": "時間測定正確度 方法",
     "no": 82,
     "element": "時間測定正確度"
    },
    {
     "caption": "時間測定正確度 結果",
     "no": 83,
     "element": "時間測定正確度"
    },
    {
     "caption": "時間一貫性 要求",
     "no": 84,
     "element": "時間一貫性"
    },
    {
     "caption": "時間一貫性 方法",
     "no": 85,
     "element": "時間一貫性"
    },
    {
     "caption": "時間一貫性 結果",
     "no": 86,
     "element": "時間一貫性"
    },
    {
     "caption": "時間妥当性 要求",
     "no": 87,
     "element": "時間妥当性"
    },
    {
     "caption": "時間妥当性 方法",
     "no": 88,
     "element": "時間妥当性"
    },
    {
     "caption": "時間妥当性 結果",
     "no": 89,
     "element": "時間妥当性"
    }
   ]
  },
  {
   "caption": "主題正確度",
   "rows": [
    {
     "caption": "総括",
     "no": 25
    },
    {
     "caption": "分類の正しさ 要求",
     "no": 101,
     "element": "分類の正しさ"
    },
    {
     "caption": "分類の正しさ 方法",
     "no": 102,
     "element": "分類の正しさ"
    },
    {
     "caption": "分類の正しさ 結果",
     "no": 103,
     "element": "分類の正しさ"
    },
    {
     "caption": "非定量的属性の正しさ 要求",
     "no": 104,
     "element": "非定量的属性の正しさ"
    },
    {
     "caption": "非定量的属性の正しさ 方法",
     "no": 105,
     "element": "非定量的属性の正しさ"
    },
    {
     "caption": "非定量的属性の正しさ 結果",
     "no": 106,
     "element": "非定量的属性の正しさ"
    },
    {
     "caption": "定量的属性の正しさ 要求",
     "no": 107,
     "element": "定量的属性の正しさ"
    },
    {
     "caption": "定量的属性の正しさ 方法",
     "no": 108,
     "element": "定量的属性の正しさ"
    },
    {
     "caption": "定量的属性の正しさ 結果",
     "no": 109,
     "element": "定量的属性の正しさ"
    }
   ]
  }
 ]
}
